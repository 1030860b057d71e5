// An adapter that goes away and comes back, and a port the system refuses: the real worker on
// a pseudo-terminal against the simulated bench, whose "unplug" and "plug" commands stand for
// pulling and replugging the USB cable (its --port-link path stays the same).
#include <QPointer>
#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/otathread.h"
#include "link/reconnectwatcher.h"
#include "benchtest.h"

namespace {
const QString kFirstMcu = QStringLiteral("3a10c5e700001001");
}

class TestReconnect : public linktest::BenchTest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unplugAndReplugReconnects();
    void unplugWithoutAutoConnectKeepsTheMotors_data();
    void unplugWithoutAutoConnectKeepsTheMotors();
    void disconnectEndsTheWait();
    void busyPortNamesItsProcessUnderEitherName_data();
    void busyPortNamesItsProcessUnderEitherName();

private:
    // Starts the bench behind a stable link and connects to it; waits for both motors.
    bool connectBench();
    bool hasLine(const QString& part) const {
        for (const QString& line : m_lines) {
            if (line.contains(part))
                return true;
        }
        return false;
    }
    CANWorker* worker() const { return Helper::instance()->worker(); }

    QString m_link;
};

void TestReconnect::init() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.auto_connect"), true, true);
    startCase(true);
    m_link = m_dir->path() + QStringLiteral("/bench");
}

void TestReconnect::cleanup() {
    endCase();
}

bool TestReconnect::connectBench() {
    if (m_sim->start({QStringLiteral("--motors"), QStringLiteral("2"), QStringLiteral("--port-link"), m_link})
            .isEmpty())
        return false;
    worker()->connectPort(m_link);
    return QTest::qWaitFor([this] { return worker()->registeredCanIds().size() == 2; }, 20000) &&
           worker()->isConnected();
}

void TestReconnect::unplugAndReplugReconnects() {
    QVERIFY(connectBench());
    QPointer<kx::DataObject> first = kx::d("project.device")->cdobj(kFirstMcu);
    QVERIFY(first);

    m_sim->command("unplug");
    QTRY_VERIFY_WITH_TIMEOUT(!worker()->isConnected(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(worker()->reconnectWatcher()->isWatching(), 5000);
    // The motors keep their records, marked as gone; no box waits for a click meanwhile.
    QVERIFY(first);
    QCOMPARE(kx::d("project.device")->size(), 2);
    QVERIFY(!first->c(QStringLiteral("_connected"))->getBool(true));
    QVERIFY(hasLine(QStringLiteral("is gone; it is reconnected when it comes back.")));
    QVERIFY2(m_prompt.boxes().isEmpty(), qPrintable(m_prompt.boxes().join('\n')));

    m_lines.clear();
    m_sim->command("plug");
    QTRY_VERIFY_WITH_TIMEOUT(worker()->isConnected(), 15000);
    QVERIFY(hasLine(QStringLiteral("Serial port %1 is back: reconnecting.").arg(m_link)));
    QTRY_VERIFY_WITH_TIMEOUT(first && first->c(QStringLiteral("_connected"))->getBool(false), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(worker()->registeredCanIds().size(), 2, 20000);
    // The same records, not new ones beside them.
    QCOMPARE(kx::d("project.device")->size(), 2);
    QCOMPARE(worker()->deviceForCanId(1), first.data());
    QVERIFY(!worker()->reconnectWatcher()->isWatching());
}

void TestReconnect::unplugWithoutAutoConnectKeepsTheMotors_data() {
    QTest::addColumn<bool>("reconnect");
    QTest::newRow("offer taken") << true;
    QTest::newRow("offer declined") << false;
}

void TestReconnect::unplugWithoutAutoConnectKeepsTheMotors() {
    QFETCH(bool, reconnect);
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.auto_connect"), false);
    m_prompt.answer = reconnect;
    QVERIFY(connectBench());
    QPointer<kx::DataObject> first = kx::d("project.device")->cdobj(kFirstMcu);
    m_sim->command("unplug");
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompt.boxes().isEmpty(), 10000);
    QVERIFY(!worker()->isConnected());
    // The records stay whatever the setting (the open pages are bound to them), marked gone,
    // and the user is offered the wait for the adapter.
    QVERIFY(first);
    QCOMPARE(kx::d("project.device")->size(), 2);
    QVERIFY(!first->c(QStringLiteral("_connected"))->getBool(true));
    QVERIFY2(m_prompt.boxes().first().contains(QStringLiteral("Reconnect as soon as it is back?")),
             qPrintable(m_prompt.boxes().first()));
    QCOMPARE(worker()->reconnectWatcher()->isWatching(), reconnect);
    m_sim->command("plug");
    if (reconnect) {
        QTRY_VERIFY_WITH_TIMEOUT(worker()->isConnected(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(first->c(QStringLiteral("_connected"))->getBool(false), 20000);
    } else {
        QTest::qWait(2500);  // two looks of a watcher, had one been started
        QVERIFY(!worker()->isConnected());
    }
}

void TestReconnect::disconnectEndsTheWait() {
    QVERIFY(connectBench());
    m_sim->command("unplug");
    QTRY_VERIFY_WITH_TIMEOUT(worker()->reconnectWatcher()->isWatching(), 10000);
    worker()->disconnectPort();
    QVERIFY(!worker()->reconnectWatcher()->isWatching());
    // The user let the adapter go: its motors leave with the link as on any disconnect.
    QVERIFY(!worker()->isConnected());
    QCOMPARE(kx::d("project.device")->size(), 0);
}

void TestReconnect::busyPortNamesItsProcessUnderEitherName_data() {
    QTest::addColumn<bool>("otherByLink");
    QTest::addColumn<bool>("oursByLink");
    // (Another program that opened a link while this one is given the device leaves no trace
    // under the device's name: that case is beyond what a lock file can tell.)
    QTest::newRow("both by the link") << true << true;
    QTest::newRow("other by the device, ours by the link") << false << true;
    QTest::newRow("both by the device") << false << false;
}

void TestReconnect::busyPortNamesItsProcessUnderEitherName() {
    QFETCH(bool, otherByLink);
    QFETCH(bool, oursByLink);
    const QString path = m_sim->start(
        {QStringLiteral("--motors"), QStringLiteral("1"), QStringLiteral("--port-link"), m_link});
    QVERIFY(!path.isEmpty());
    // Another program holds the port, opened by one of its two names; ours uses one too.
    QSerialPort other(otherByLink ? m_link : path);
    QVERIFY(other.open(QIODevice::ReadWrite));
    const QString ours = oursByLink ? m_link : path;
    worker()->connectPort(ours);
    QVERIFY(!worker()->isConnected());
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompt.boxes().isEmpty(), 5000);
    const QString box = m_prompt.boxes().first();
    QVERIFY2(box.startsWith(QStringLiteral("Trivane Error: Serial port error: Permission Error!\n\n")),
             qPrintable(box));
    QVERIFY2(
        box.endsWith(
            QStringLiteral("%1 is in use by process %2.").arg(ours).arg(QCoreApplication::applicationPid())),
        qPrintable(box));
    QVERIFY(!box.contains(QStringLiteral("dialout")));
    other.close();
    m_prompt.clear();

    // Free again, it opens, locked under the device's own name whichever name it was given.
    worker()->connectPort(ours);
    QVERIFY(worker()->isConnected());
    QSerialPort again(path);
    QVERIFY(!again.open(QIODevice::ReadWrite));
}

LINK_TEST_MAIN(TestReconnect)
#include "tst_reconnect.moc"
