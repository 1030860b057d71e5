#include "framework/data/dataobject.h"
#include "framework/log/flog.h"
#include "framework/log/qflog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using namespace kx;

// Several threads on one tree and one log file at once; run under ThreadSanitizer in CI.
class TestDataTreeStress : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QDir::setCurrent(m_dir->path());
    }

    void cleanup() {
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    void valuesAndChildrenFromSeveralThreads() {
        DataObject root(QStringLiteral("root"));
        root.set(nullptr, QStringLiteral("wnd.status.msg"), QString(), true);
        DataObject* msg = root.r(QStringLiteral("wnd.status.msg"));
        std::atomic<int> seen{0};
        connect(
            msg, &DataObject::changed, msg,
            [&](const QVariant& value) {
                if (value.toString().startsWith(QLatin1String("line")))
                    seen.fetch_add(1);
            },
            Qt::DirectConnection);

        constexpr int kRounds = 2000;
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            for (int i = 0; i < kRounds; ++i)
                msg->set(nullptr, QStringLiteral("line %1").arg(i));
        });
        // Structure changes stay on one thread (as on the user-interface thread); readers
        // only hold nodes that outlive the test.
        root.set(nullptr, QStringLiteral("wnd.list.#0"), 0, true);
        DataObject* list = root.r(QStringLiteral("wnd.list"));
        std::thread structure([&] {
            for (int i = 0; i < kRounds; ++i) {
                DataObject* child = list->append(nullptr, QString());
                child->set(nullptr, i);
                list->reorder(nullptr, QStringList{QStringLiteral("#1")});
                list->remove(nullptr, child, true);
            }
        });
        std::thread reader([&] {
            while (!stop.load()) {
                (void)root.r(QStringLiteral("wnd.status.msg"))->getString();
                (void)msg->fullName(&root);
                (void)list->cdobjNames(false);
            }
        });
        writer.join();
        structure.join();
        stop.store(true);
        reader.join();
        QCOMPARE(seen.load(), kRounds);
        QCOMPARE(msg->getString(), QStringLiteral("line %1").arg(kRounds - 1));
        QCOMPARE(list->getList(), QVariantList{0});
    }

    void logLinesFromSeveralThreadsStayWhole() {
        constexpr int kThreads = 4;
        constexpr int kLines = 100;
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([t] {
                for (int i = 0; i < kLines; ++i)
                    logI() << "thread " << t << " line " << i << " " << QString(40, QLatin1Char('x'));
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        QFile file(FLog::fileName(QStringLiteral("./log/global"), QStringLiteral("log")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), kThreads * kLines);
        const QRegularExpression shape(QStringLiteral("^\\[I\\|[^\\]]+\\]thread \\d line \\d+ x{40}$"));
        for (const QString& line : lines)
            QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestDataTreeStress)
#include "tst_datatree_stress.moc"
