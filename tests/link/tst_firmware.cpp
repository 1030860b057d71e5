// Firmware updates end to end: the real link on a pseudo-terminal against the simulated bench,
// through the update flow the device tools and the command-line tool share.
#include <QSignalSpy>
#include <QtTest>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/firmwareflow.h"
#include "link/firmware/firmwareupdate.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motormodel.h"
#include "link/otathread.h"
#include "benchtest.h"

namespace {

QByteArray image(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + 7) & 0xFF);
    return bytes;
}

// An image whose header claims a checksum its body does not have: the motor's end check fails.
QByteArray badlySignedImage() {
    QByteArray bytes("TRVFW");
    bytes += QByteArray(16, 'v');
    bytes += QByteArray::fromHex("deadbeef");
    bytes += image(100);
    return bytes;
}

using Result = FirmwareFlow::Result;

}  // namespace

class TestFirmware : public linktest::BenchTest {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void smallImages_data();
    void smallImages();
    void resendFromEarlierPacket();
    void refusedBeforeAnyFrame_data();
    void refusedBeforeAnyFrame();
    void endCheckFails();
    void stallTimesOut();
    void unplugMidTransfer();
    void largestImage();

private:
    bool connectBench(const QStringList& options);
    CANWorker* worker() const { return Helper::instance()->worker(); }
    FirmwareUpdate* firmware() const { return FirmwareUpdate::of(worker()->link()); }
};

void TestFirmware::init() {
    kx::DataObject* root = kx::d().rootDobj();
    root->set(nullptr, QStringLiteral("config.update_dt"), 1, true);
    root->set(nullptr, QStringLiteral("config.update_timeout"), 60000, true);
    root->set(nullptr, QStringLiteral("temp_device.update_progress"), 0, true);
    MotorModel::reset();
    startCase(false);
}

void TestFirmware::cleanup() {
    endCase();
}

bool TestFirmware::connectBench(const QStringList& options) {
    const QString path =
        m_sim->start(QStringList{QStringLiteral("--erase-delay"), QStringLiteral("200")} + options);
    if (path.isEmpty())
        return false;
    worker()->connectPort(path);
    if (!worker()->isConnected())
        return false;
    if (!QTest::qWaitFor([] { return kx::d("project.device")->size() == 1 && MotorModel::known(); }, 15000))
        return false;
    Helper::instance()->setCurrentDeviceDobj(kx::d("project.device")->cdobj(0));
    return true;
}

void TestFirmware::smallImages_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("packets");
    QTest::newRow("one byte") << 1 << 1;
    QTest::newRow("a packet and a byte") << 9 << 2;
    QTest::newRow("a few hundred packets") << 3001 << 376;
}

void TestFirmware::smallImages() {
    QFETCH(int, size);
    QFETCH(int, packets);
    QVERIFY(connectBench({}));
    QList<int> percents;
    QObject scope;  // the node outlives this case
    connect(kx::d("temp_device.update_progress"), &kx::DataObject::changed, &scope,
            [&percents](QVariant value) { percents << value.toInt(); });
    FirmwareFlow flow(1, image(size));
    QSignalSpy erasing(&flow, &FirmwareFlow::erasing);
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    QCOMPARE(report.message, QStringLiteral("Update successfully!"));
    QCOMPARE(int(report.result), int(Result::Succeeded));
    QCOMPARE(int(report.packets), packets);
    QCOMPARE(int(report.resends), 0);
    QCOMPARE(erasing.count(), 1);
    QCOMPARE(percents.first(), 0);
    QCOMPARE(percents.last(), 100);
    QVERIFY(std::is_sorted(percents.begin(), percents.end()));
    // The verdict leaves the link idle.
    QTRY_COMPARE_WITH_TIMEOUT(worker()->link()->step(), int(STEP_STOP), 5000);
    QVERIFY(m_prompt.boxes().isEmpty());
}

void TestFirmware::resendFromEarlierPacket() {
    QVERIFY(connectBench({QStringLiteral("--resend-every"), QStringLiteral("7")}));
    QList<int> statuses;
    connect(worker(), &CANWorker::linkStatus, this, [&statuses](int s) { statuses << s; });
    FirmwareFlow flow(1, image(800));
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    QCOMPARE(report.message, QStringLiteral("Update successfully!"));
    QCOMPARE(int(report.packets), 100);
    // Every 7th packet sends the transfer two packets back.
    QVERIFY2(report.resends >= 14, qPrintable(QString::number(report.resends)));
    QCOMPARE(statuses.count(OTA_STA_SEND_BIN_RETRY), int(report.resends));
    QCOMPARE(statuses.count(OTA_STA_SEND_BIN_DONE), 1);
    QCOMPARE(statuses.last(), int(OTA_STA_SUCCESS));
}

void TestFirmware::refusedBeforeAnyFrame_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << 0 << int(OTA_STA_BINFILE_EMPTY) << "File contains no data!";
    QTest::newRow("one byte too many")
        << 524289 << int(OTA_STA_BINFILE_SIZE_OVER_LIMIT) << "File size over 512KB!";
}

void TestFirmware::refusedBeforeAnyFrame() {
    QFETCH(int, size);
    QFETCH(int, status);
    QFETCH(QString, message);
    QVERIFY(connectBench({}));
    QSignalSpy writes(worker()->link(), &otaThread::WriteToSerial);
    FirmwareFlow flow(1, image(size));
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    QCOMPARE(int(report.result), int(Result::Refused));
    QCOMPARE(report.message, message);

    // The link refuses on its own as well, before the motor is asked to erase its flash.
    QList<int> statuses;
    connect(worker(), &CANWorker::linkStatus, this, [&statuses](int s) { statuses << s; });
    firmware()->setImage(image(size));
    QVERIFY(LinkCommands::send(LinkCommand::update(1)));
    QTRY_VERIFY(statuses.contains(status));
    QCOMPARE(worker()->link()->step(), int(STEP_STOP));
    QTest::qWait(300);
    QCOMPARE(writes.count(), 0);
}

void TestFirmware::endCheckFails() {
    QVERIFY(connectBench({}));
    FirmwareFlow flow(1, badlySignedImage());
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    QCOMPARE(report.message, QStringLiteral("Update failed!"));
    QCOMPARE(int(report.result), int(Result::Failed));
    QCOMPARE(firmware()->finalStatus(), int(OTA_STA_FAILED));
}

void TestFirmware::stallTimesOut() {
    QVERIFY(connectBench({QStringLiteral("--latency"), QStringLiteral("2")}));
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.update_timeout"), 1500, true);
    FirmwareFlow flow(1, image(32000));
    bool silenced = false;
    connect(&flow, &FirmwareFlow::packets, this, [&](quint32 index) {
        if (index >= 20 && !silenced) {
            silenced = true;
            m_sim->command("silence on");
        }
    });
    // 4000 packets take longer than the time-out: only a stall may end the transfer.
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    QVERIFY(silenced);
    QCOMPARE(report.message, QStringLiteral("Update timeout!"));
    QCOMPARE(worker()->link()->step(), int(STEP_STOP));
}

void TestFirmware::unplugMidTransfer() {
    QVERIFY(connectBench({QStringLiteral("--latency"), QStringLiteral("2")}));
    FirmwareFlow flow(1, image(32000));
    bool unplugged = false;
    connect(&flow, &FirmwareFlow::packets, this, [&](quint32 index) {
        if (index >= 20 && !unplugged) {
            unplugged = true;
            m_sim->command("unplug");
        }
    });
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    QVERIFY(unplugged);
    QCOMPARE(int(report.result), int(Result::PortClosed));
    QCOMPARE(report.message, QStringLiteral("The adapter was disconnected during the update."));
    // What the motor acknowledged, not what the image holds.
    QCOMPARE(report.imagePackets, quint32(4000));
    QVERIFY2(report.packets >= 20 && report.packets < 4000, qPrintable(QString::number(report.packets)));
    QTRY_COMPARE(m_prompt.boxes().size(), 1);
    // The port's question whether to wait for the adapter, not an error box.
    QVERIFY(m_prompt.boxes().first().contains(QLatin1String("Reconnect as soon as it is back?")));
    QCOMPARE(worker()->link()->step(), int(STEP_STOP));
}

void TestFirmware::largestImage() {
    QVERIFY(connectBench({QStringLiteral("--no-pacing")}));
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.update_dt"), 0, true);
    FirmwareFlow flow(1, image(524288));
    flow.run();
    const FirmwareFlow::Report report = flow.details();
    QCOMPARE(report.message, QStringLiteral("Update successfully!"));
    QCOMPARE(report.packets, 65536u);
    QCOMPARE(firmware()->packetIndex(), 65536u);
}

LINK_TEST_MAIN(TestFirmware)
#include "tst_firmware.moc"
