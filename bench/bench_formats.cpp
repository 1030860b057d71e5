// Interchange forms on a tree shaped like the application tree (~1,000 nodes): settings under
// config, device records with info, run-time state and a parameter list under project.device,
// events under trigger. Prints the median and best of repeated runs.
//   goal: JSON template import (parse + import) <= 5 ms
// Then the conversions of a wide XML document (one node with 100k and 400k named children),
// as trivane-cli convert runs them.
//   goal: XML -> JSON within 2x of XML -> BIN at 400k siblings
#include "framework/data/dataobject.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointF>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using kx::DataObject;

namespace {

void buildTree(DataObject* root) {
    for (int i = 0; i < 40; ++i) {
        root->set(nullptr, QStringLiteral("config.setting.option_%1").arg(i), i % 3 == 0, true);
    }
    root->set(nullptr, QStringLiteral("config.baud_rate"), 921600, true);
    root->set(nullptr, QStringLiteral("config.scale"), 100, true);
    root->set(nullptr, QStringLiteral("config.setting.language"), QStringLiteral("en"), true);
    root->set(nullptr, QStringLiteral("config.window.pos"), QPointF(10, 20), true);
    for (int i = 0; i < 12; ++i) {
        root->set(nullptr, QStringLiteral("trigger.event_%1").arg(i), QVariant(), true);
    }
    DataObject* devices = root->set(nullptr, QStringLiteral("project.device"), QVariant(), true)
                              ->r(QStringLiteral("project.device"));
    for (int d = 0; d < 8; ++d) {
        DataObject* device =
            devices->append(nullptr, QStringLiteral("0x11223344556677%1").arg(d, 2, 10, QLatin1Char('0')));
        device->set(nullptr, QStringLiteral("_connected"), true, true);
        device->set(nullptr, QStringLiteral("_trigger.param.reload"), QVariant(), true);
        device->set(nullptr, QStringLiteral("alias"), QStringLiteral("Motor %1").arg(d + 1), true);
        device->set(nullptr, QStringLiteral("info.type"), 1, true);
        device->set(nullptr, QStringLiteral("info.mcu_id"), QStringLiteral("0x1122334455667788"), true);
        device->set(nullptr, QStringLiteral("info.can_id"), d + 1, true);
        DataObject* params =
            device->set(nullptr, QStringLiteral("param"), QVariant(), true)->r(QStringLiteral("param"));
        for (int p = 0; p < 100; ++p) {
            params->append(nullptr)->set(nullptr, 0.125 * p);
        }
    }
}

int treeSize(const DataObject* node) {
    int count = 1;
    for (const DataObject* child : node->cdobjs()) {
        count += treeSize(child);
    }
    return count;
}

void measure(const char* label, int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-40s median %8.3f ms   best %8.3f ms   (%d runs)\n", label, times[times.size() / 2],
                times.front(), runs);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;  // the importers log to ./log
    QDir::setCurrent(dir.path());

    DataObject source(QStringLiteral("@m"));
    buildTree(&source);
    const QByteArray json = QJsonDocument(source.exportToJson(false).toObject()).toJson();
    const QString xml = source.exportToXmlStr(4, false);
    const QByteArray bin = source.exportToBin(false);
    std::printf("tree: %d nodes; JSON %d bytes, XML %d chars, binary %d bytes\n", treeSize(&source),
                int(json.size()), int(xml.size()), int(bin.size()));

    const int runs = 50;
    measure("JSON template import (parse + import)", runs, [&] {
        DataObject root(QStringLiteral("@m"));
        root.importFromJson(nullptr, QJsonDocument::fromJson(json).object(), true, true, false);
    });
    DataObject existing(QStringLiteral("@m"));
    buildTree(&existing);
    measure("JSON import into the existing tree", runs, [&] {
        existing.importFromJson(nullptr, QJsonDocument::fromJson(json).object(), true, true, false);
    });
    measure("JSON export", runs, [&] { QJsonDocument(source.exportToJson(false).toObject()).toJson(); });
    measure("XML export (string)", runs, [&] { source.exportToXmlStr(4, false); });
    measure("XML import (string)", runs, [&] {
        DataObject root(QStringLiteral("@m"));
        root.importFromXmlStr(nullptr, xml, true, true, true);
    });
    measure("XML export + import", runs, [&] {
        DataObject root(QStringLiteral("@m"));
        root.importFromXmlStr(nullptr, source.exportToXmlStr(4, false), true, true, true);
    });
    measure("binary export", runs, [&] { source.exportToBin(false); });
    measure("binary import", runs, [&] {
        DataObject root(QStringLiteral("@m"));
        root.importFromBin(nullptr, bin, true, true, false);
    });
    measure("binary export + import", runs, [&] {
        DataObject root(QStringLiteral("@m"));
        root.importFromBin(nullptr, source.exportToBin(false), true, true, false);
    });

    for (const int siblings : {100000, 400000}) {
        DataObject wide(QStringLiteral("@m"));
        DataObject* node =
            wide.set(nullptr, QStringLiteral("wide"), QVariant(), true)->c(QStringLiteral("wide"));
        for (int i = 0; i < siblings; ++i) {
            // Names out of sorted order, as child order rarely is.
            node->append(nullptr, QStringLiteral("k%1").arg((i * 7919) % siblings))->set(nullptr, i);
        }
        const QString wideXml = wide.exportToXmlStr(0, false);
        const QByteArray label = QByteArray::number(siblings / 1000) + "k siblings";
        measure(QByteArray("XML -> JSON, " + label).constData(), 3, [&] {
            DataObject root(QStringLiteral("@m"));
            root.importFromXmlStr(nullptr, wideXml, true, true, true);
            QJsonDocument(root.exportToJson(false).toObject()).toJson();
        });
        measure(QByteArray("XML -> BIN, " + label).constData(), 3, [&] {
            DataObject root(QStringLiteral("@m"));
            root.importFromXmlStr(nullptr, wideXml, true, true, true);
            qCompress(root.exportToBin(false));
        });
        measure(QByteArray("JSON export only, " + label).constData(), 3,
                [&] { QJsonDocument(wide.exportToJson(false).toObject()).toJson(); });
        measure(QByteArray("binary export only, " + label).constData(), 3,
                [&] { qCompress(wide.exportToBin(false)); });
    }
    return 0;
}
