// Lookup and set costs on a tree shaped like the application tree (about 1,000 nodes).
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

#include <cstdio>

using namespace kx;

namespace {

// config with its settings, ten device records with info and a parameter list, the event
// nodes and the status channel.
void buildTree() {
    for (int i = 0; i < 40; ++i)
        d().rootDobj()->set(nullptr, dName("config", "setting", QStringLiteral("key_%1").arg(i)), i, true);
    for (int dev = 0; dev < 10; ++dev) {
        const QString record = dName("project", "device", QStringLiteral("0x%1").arg(0x1000 + dev, 0, 16));
        for (const char* key : {"_connected", "alias", "info.type", "info.mcu_id", "info.can_id",
                                "_trigger.param.reload", "_trigger.oscilloscope.reload", "_control.mode"})
            d().rootDobj()->set(nullptr, record + QLatin1Char('.') + QLatin1String(key), dev, true);
        for (int p = 0; p < 80; ++p)
            d().rootDobj()->set(nullptr, record + QStringLiteral(".param.#%1").arg(p), p, true);
    }
    for (const char* path :
         {"trigger.device.info.new", "trigger.configure.param.new", "trigger.analyze.oscilloscope.new",
          "trigger.help.instruction", "trigger.block", "wnd.status.msg", "output"})
        d().regist(nullptr, QLatin1String(path));
}

int countNodes(DataObject* node) {
    int count = 1;
    for (DataObject* child : node->cdobjs())
        count += countNodes(child);
    return count;
}

template <typename F>
double nsPerOp(int iterations, F&& body) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < iterations; ++i)
        body(i);
    return double(timer.nsecsElapsed()) / iterations;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    buildTree();
    std::printf("tree: %d nodes\n", countNodes(d().rootDobj()));

    constexpr int kIterations = 2000000;
    volatile quintptr sink = 0;

    const QString path = QStringLiteral("project.device.0x1005.alias");
    const double lookup = nsPerOp(kIterations, [&](int) { sink = sink + quintptr(d(path)); });
    std::printf("d() of a 4-segment path:          %7.1f ns/op\n", lookup);

    const QString indexPath = QStringLiteral("project.device.0x1005.param.#40");
    const double indexLookup = nsPerOp(kIterations, [&](int) { sink = sink + quintptr(d(indexPath)); });
    std::printf("d() of a 5-segment path with #40: %7.1f ns/op\n", indexLookup);

    QHash<QString, int> plain;
    for (int i = 0; i < 1000; ++i)
        plain.insert(QStringLiteral("key_%1").arg(i), i);
    const QString key = QStringLiteral("key_500");
    const double hash = nsPerOp(kIterations, [&](int) { sink = sink + quintptr(plain.value(key)); });
    std::printf("plain QHash lookup (reference):   %7.1f ns/op\n", hash);

    DataObject* node = d(QStringLiteral("wnd.status.msg"));
    QObject changer;
    for (int listeners : {0, 1, 10}) {
        QList<QMetaObject::Connection> connections;
        for (int i = 0; i < listeners; ++i) {
            connections << QObject::connect(node, &DataObject::changed, &changer,
                                            [&](const QVariant& value, const QVariant&, QObject* who) {
                                                if (who != &changer)
                                                    sink = sink + quintptr(value.userType());
                                            });
        }
        const double set = nsPerOp(kIterations, [&](int i) { node->set(nullptr, i); });
        std::printf("set with %2d changed listener(s):  %7.1f ns/op\n", listeners, set);
        for (const auto& connection : connections)
            QObject::disconnect(connection);
    }
    return sink == 42 ? 1 : 0;
}
