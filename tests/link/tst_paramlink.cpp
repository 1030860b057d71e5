// The parameter table end to end: the link feature and walks through a real serial port on a
// pseudo-terminal against the simulated bench, as the page and the command line use them.
#include <QSignalSpy>
#include <QtTest>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/frames/paramvalue.h"
#include "link/helper.h"
#include "link/linkstates.h"
#include "link/otathread.h"
#include "link/param/paramfeature.h"
#include "link/param/paramwalker.h"
#include "benchtest.h"

class TestParamLink : public linktest::BenchTest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void describeThenUploadEveryEntry();
    void downloadAndSaveSurviveADescription();
    void motorErrorCodesStopTheDownload_data();
    void motorErrorCodesStopTheDownload();
    void downloadWithNothingModified();
    void descriptionFaultsAreReported();
    void repliesUnderAnotherCanIdNeverComplete();
    void twoMotorsKeepTwoTables();
    void walkStopsWhenTheDeviceGoesOrTheWalkerDies();

private:
    kx::DataObject* connectBench(const QStringList& options, int devices = 1);
    // Runs a walk to its end; returns its outcome (false also on time-out).
    bool walk(ParamWalker& walker, const std::function<bool()>& start, int timeoutMs = 20000);
    bool hasLine(const QString& line) const { return m_lines.contains(line); }
    ParamFeature* feature() const { return ParamFeature::of(otaThread::instance()); }
    ParamStore& store() const { return feature()->store(); }
    ParamEntry entry(quint8 canId, quint16 code) const {
        ParamEntry e;
        store().entry(canId, code, &e);
        return e;
    }
};

void TestParamLink::init() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.support_at"), true);
    startCase(false);
}

void TestParamLink::cleanup() {
    endCase();
}

kx::DataObject* TestParamLink::connectBench(const QStringList& options, int devices) {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), devices > 1);
    const QString path = m_sim->start(QStringList{"--motors", QString::number(devices)} + options);
    if (path.isEmpty())
        return nullptr;
    CANWorker* worker = Helper::instance()->worker();
    worker->connectPort(path);
    if (!QTest::qWaitFor([&] { return kx::d("project.device")->size() == devices; }, 30000))
        return nullptr;
    // The scan of a multi-device bench runs on; requests wait for its end.
    if (devices > 1)
        (void)QTest::qWaitFor([] { return otaThread::instance()->step() == STEP_STOP; }, 30000);
    kx::DataObject* record = kx::d("project.device")->cdobj(0);
    Helper::instance()->setCurrentDeviceDobj(record);
    return record;
}

bool TestParamLink::walk(ParamWalker& walker, const std::function<bool()>& start, int timeoutMs) {
    QSignalSpy finished(&walker, &ParamWalker::finished);
    if (!start())
        return false;
    if (finished.isEmpty() && !finished.wait(timeoutMs))
        return false;
    return finished.first().first().toBool();
}

void TestParamLink::describeThenUploadEveryEntry() {
    kx::DataObject* record = connectBench({});
    QVERIFY(record);
    QSignalSpy reloaded(record->r("_trigger.param.reload"), &kx::DataObject::changed);
    QSignalSpy uploaded(record->r("_trigger.param.upload"), &kx::DataObject::changed);
    ParamWalker walker(record);
    QVERIFY(walk(walker, [&] { return walker.describe(); }));
    QVERIFY(hasLine("Reload all parameters table successfully!"));
    QCOMPARE(reloaded.count(), 1);
    QCOMPARE(store().counts(1), (std::array<int, 4>{{4, 5, 21, 16}}));
    QCOMPARE(store().configCount(1), 3);
    QCOMPARE(entry(1, 0x1002).value, QStringLiteral("0.9.4"));
    QCOMPARE(entry(1, 0x2009).maximum, 33.0);  // raw 3300, E = -2
    QCOMPARE(entry(1, 0x2009).decimals, 2);
    QCOMPARE(entry(1, 0x2011).value, QString::number(Q_UINT64_C(0x3a10c5e700001001)));  // all 64 bits

    QSignalSpy read(&walker, &ParamWalker::entryRead);
    QVERIFY(walk(walker, [&] { return walker.upload(); }));
    QCOMPARE(read.count(), 46);
    QCOMPARE(uploaded.count(), 46);
    QCOMPARE(read.last().first().value<quint16>(), quint16(0x300f));
    QVERIFY(hasLine("Upload parameters table successfully!"));
    QCOMPARE(entry(1, 0x0001).value, QStringLiteral("TRV00001001"));
    QVERIFY(!m_lines.join('\n').contains("ERROR"));
    QTRY_COMPARE_WITH_TIMEOUT(otaThread::instance()->step(), int(STEP_STOP), 5000);
}

void TestParamLink::downloadAndSaveSurviveADescription() {
    kx::DataObject* record = connectBench({});
    QVERIFY(record);
    ParamWalker walker(record);
    QVERIFY(walk(walker, [&] { return walker.describe(); }));
    QSignalSpy downloaded(record->r("_trigger.param.download"), &kx::DataObject::changed);
    store().setPending(1, 0x0002, ParamValue::textBytes("left-knee-0D0A\r\n"));
    store().setPending(1, 0x2008, ParamValue::toRaw(6, 5.5));
    store().setPending(1, 0x200f, ParamValue::toRaw(9, 0.25));
    QSignalSpy written(&walker, &ParamWalker::entryWritten);
    QVERIFY(walk(walker, [&] { return walker.download(true); }));
    QCOMPARE(written.count(), 3);
    QCOMPARE(downloaded.count(), 3);
    QVERIFY(hasLine("Download parameters table successfully!"));
    QVERIFY(hasLine("Param saved successfully!"));
    QCOMPARE(store().nextModified(1, 0), -1);

    // What the motor now describes is what was written.
    QVERIFY(walk(walker, [&] { return walker.describe(); }));
    QCOMPARE(entry(1, 0x0002).value, QStringLiteral("left-knee-0D0A\r\n"));
    QCOMPARE(entry(1, 0x2008).value, QStringLiteral("5.500000"));
    QCOMPARE(entry(1, 0x200f).value, QStringLiteral("0.250000000000"));
}

void TestParamLink::motorErrorCodesStopTheDownload_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("line");
    QTest::newRow("out of range") << 0x2008 << ParamValue::toRaw(6, 20.0)
                                  << "<ERROR> Write param to 0X2008failed: /value out of range";
    QTest::newRow("read-only setting")
        << 0x2007 << ParamValue::toRaw(4, 1.0) << "<ERROR> Write param to 0X2007failed: /unwritable";
}

void TestParamLink::motorErrorCodesStopTheDownload() {
    QFETCH(int, code);
    QFETCH(QByteArray, raw);
    QFETCH(QString, line);
    kx::DataObject* record = connectBench({});
    QVERIFY(record);
    ParamWalker walker(record);
    QVERIFY(walk(walker, [&] { return walker.describe(); }));
    const QString before = entry(1, quint16(code)).value;
    store().setPending(1, quint16(code), raw);
    store().setPending(1, 0x200b, ParamValue::toRaw(6, 40.0));  // after it: never reached
    QVERIFY(!walk(walker, [&] { return walker.download(true); }));
    QVERIFY2(hasLine(line), qPrintable(m_lines.join('\n')));
    QVERIFY(!hasLine("Param saved successfully!"));
    QVERIFY(entry(1, 0x200b).modified);
    QVERIFY(walk(walker, [&] { return walker.describe(); }));
    QCOMPARE(entry(1, quint16(code)).value, before);
    QCOMPARE(entry(1, 0x200b).value, QStringLiteral("30.000000"));
}

void TestParamLink::downloadWithNothingModified() {
    kx::DataObject* record = connectBench({});
    QVERIFY(record);
    ParamWalker walker(record);
    QVERIFY(walk(walker, [&] { return walker.describe(); }));
    QVERIFY(!walk(
        walker, [&] { return walker.download(true); }, 5000));
    QVERIFY2(hasLine("<ERROR> Write param to 0X2015failed: /no such code"), qPrintable(m_lines.join('\n')));
}

void TestParamLink::descriptionFaultsAreReported() {
    kx::DataObject* record = connectBench({});
    QVERIFY(record);
    // One motor frame in ten is lost: entries arrive with gaps.
    m_sim->command("drop tx 0.1");
    ParamWalker walker(record);
    QVERIFY(!walk(walker, [&] { return walker.describe(); }));
    const QString all = m_lines.join('\n');
    QVERIFY2(all.contains("<ERROR> Reload parameters table failed: code:0X"), qPrintable(all));
    QVERIFY(!all.contains("Reload all parameters table successfully!"));
    QTRY_COMPARE_WITH_TIMEOUT(otaThread::instance()->step(), int(STEP_STOP), 5000);
}

void TestParamLink::repliesUnderAnotherCanIdNeverComplete() {
    kx::DataObject* record = connectBench({});
    QVERIFY(record);
    m_sim->command("wrongid on");
    ParamWalker walker(record);
    QSignalSpy statuses(feature(), &ParamFeature::transferStatus);
    QVERIFY(!walk(walker, [&] { return walker.describe(); }));
    // The whole description arrived under CAN ID 2: it is not this motor's, so the step times
    // out quietly and nothing reached the store.
    QCOMPARE(statuses.count(), 1);
    QCOMPARE(statuses.first().first().toInt(), int(OTA_STA_GET_PARA_INFO_OVER_TIME));
    QVERIFY(store().canIds().isEmpty());
}

void TestParamLink::twoMotorsKeepTwoTables() {
    kx::DataObject* first = connectBench({"--models", "0:2,4:1"}, 2);
    QVERIFY(first);
    kx::DataObject* second = kx::d("project.device")->cdobj(1);
    ParamWalker a(first), b(second);
    QVERIFY(walk(a, [&] { return a.describe(); }));
    QVERIFY(walk(b, [&] { return b.describe(); }));
    QCOMPARE(store().canIds(), (QList<quint8>{1, 2}));
    // The models differ, and so do their torque limits.
    QCOMPARE(entry(1, 0x2008).maximum, 14.0);
    QCOMPARE(entry(2, 0x2008).maximum, 120.0);
    // A walk aims at its own motor, whichever device is current.
    Helper::instance()->setCurrentDeviceDobj(first);
    QVERIFY(!b.readOne(0x2fff));  // not described: nothing is read in its place
    QSignalSpy read(&b, &ParamWalker::entryRead);
    QVERIFY(walk(b, [&] { return b.readOne(0x2011); }));
    QCOMPARE(entry(2, 0x2011).value, QString::number(Q_UINT64_C(0x3a10c5e700002002)));
}

void TestParamLink::walkStopsWhenTheDeviceGoesOrTheWalkerDies() {
    kx::DataObject* record = connectBench({"--latency", "30"});
    QVERIFY(record);
    {
        ParamWalker walker(record);
        QVERIFY(walk(walker, [&] { return walker.describe(); }));
    }
    // A walker destroyed mid-walk (its page closed) ends the link's step.
    auto* walker = new ParamWalker(record);
    QSignalSpy read(walker, &ParamWalker::entryRead);
    walker->upload();
    QVERIFY(read.wait(10000));
    delete walker;
    QCOMPARE(otaThread::instance()->step(), int(STEP_STOP));
    const int statusesBefore = m_lines.size();
    QTest::qWait(300);
    QCOMPARE(m_lines.size(), statusesBefore);

    // The device goes (disconnect removes its record) in the middle of an upload.
    ParamWalker second(record);
    QSignalSpy secondRead(&second, &ParamWalker::entryRead);
    second.upload();
    QVERIFY(secondRead.wait(10000));
    Helper::instance()->worker()->disconnectPort();
    QVERIFY(!second.running());
    QCOMPARE(otaThread::instance()->step(), int(STEP_STOP));
}

LINK_TEST_MAIN(TestParamLink)
#include "tst_paramlink.moc"
