// The Device tab's tool strip as a real widget (offscreen) driving the real link on a
// pseudo-terminal against the simulated bench: CAN ID change, calibration and firmware update
// flows, the busy cover and what the user is told, also when the adapter is unplugged.
#include "app/filedialogs.h"
#include "app/apptest.h"
#include "link/canworker.h"
#include "link/motormodel.h"
#include "link/otathread.h"
#include "workbench/tools/devicetools.h"
#include "workbench/workbenchscreens.h"

#define TRIVANE_SIM_PATH TRIVANE_BIN_DIR "/trivane-sim"
#include "link/simbench.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtEndian>

#include <algorithm>

namespace {

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return path;
}

// The image check of the simulated motor's firmware (the usual CRC-32).
quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int b = 0; b < 8; ++b)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// An image that names its version: "TRVFW", 16 version bytes, the CRC-32 of the rest.
QByteArray versionedImage(const QByteArray& version, const QByteArray& body) {
    QByteArray crc(4, '\0');
    qToLittleEndian(crc32(body), crc.data());
    return "TRVFW" + version.leftJustified(16, '\0', true) + crc + body;
}

bool logFileHas(const QString& line) {
    for (const QFileInfo& file : QDir(QStringLiteral("log")).entryInfoList({QStringLiteral("*.log")})) {
        QFile log(file.filePath());
        if (log.open(QIODevice::ReadOnly) && QString::fromUtf8(log.readAll()).contains(line))
            return true;
    }
    return false;
}

}  // namespace

class TestDeviceTools : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectButtonsFollowWorking();
    void canIdChangeFromStrip();
    void canIdStopsAt127();
    void calibrationFlow();
    void calibrationNeverStarts();
    void calibrationUnplugged();
    void updateSucceeds();
    void updateToTheSameVersionIsReported();
    void resetZeroAsksNamingTheMotor();
    void canIdBoxMovesOnlyWhenTheMotorTookTheId();
    void reconnectAfterAnUnplug();
    void updateRefusesBadFiles_data();
    void updateRefusesBadFiles();
    void updateUnplugged();

private:
    bool connectBench(const QStringList& options = {});
    QPushButton* button(const QString& name) const { return m_tools->findChild<QPushButton*>(name); }
    QStringList errorsAndInfos() const;
    bool hasNotice(const QString& part) const {
        for (const PromptCall& call : m_env->prompt.calls) {
            if (call.kind == QLatin1String("notice") && call.text.contains(part))
                return true;
        }
        return false;
    }
    kx::DataObject* device() const { return kx::d("project.device")->cdobj(0); }

    std::unique_ptr<CaseEnvironment> m_env;
    std::unique_ptr<linktest::SimBench> m_sim;
    std::unique_ptr<DeviceTools> m_tools;
    QStringList m_covers;
    QStringList m_lines;
    QList<QMetaObject::Connection> m_connections;
};

void TestDeviceTools::initTestCase() {
    registerWorkbenchScreens();
}

void TestDeviceTools::init() {
    m_env = std::make_unique<CaseEnvironment>();
    kx::DataObject* root = kx::d().rootDobj();
    root->set(nullptr, QStringLiteral("config.setting.upload_param_on_connected"), false);
    root->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), false);
    root->set(nullptr, QStringLiteral("config.setting.auto_increase_can_id"), true);
    root->set(nullptr, QStringLiteral("working"), false, true);
    MotorModel::reset();
    m_covers.clear();
    m_lines.clear();
    m_connections << connect(kx::d("trigger.block"), &kx::DataObject::changed, this,
                             [this](const QVariant& v) { m_covers << v.toString(); });
    m_connections << connect(kx::d("wnd.status.msg"), &kx::DataObject::changed, this,
                             [this](const QVariant& v) { m_lines << v.toString(); });
    Helper::instance()->createBackends();
    m_sim = std::make_unique<linktest::SimBench>();
    m_tools = std::make_unique<DeviceTools>();
    m_tools->show();
}

void TestDeviceTools::cleanup() {
    m_tools.reset();
    FileDialogs::setChooser({});
    Helper::instance()->setCurrentDeviceDobj(nullptr);
    Helper::instance()->destroyBackends();
    m_sim.reset();
    for (const auto& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_env.reset();
}

bool TestDeviceTools::connectBench(const QStringList& options) {
    const QString path = m_sim->start(QStringList{"--erase-delay", "100", "--cali-time", "600"} + options);
    if (path.isEmpty())
        return false;
    Helper::instance()->worker()->connectPort(path);
    if (!QTest::qWaitFor([] { return kx::d("project.device")->size() == 1 && MotorModel::known(); }, 15000))
        return false;
    Helper::instance()->setCurrentDeviceDobj(device());
    return true;
}

QStringList TestDeviceTools::errorsAndInfos() const {
    QStringList boxes;
    for (const PromptCall& call : m_env->prompt.calls) {
        if (call.kind != QLatin1String("notice"))
            boxes << call.kind + QLatin1String(": ") + call.text;
    }
    return boxes;
}

void TestDeviceTools::connectButtonsFollowWorking() {
    QVERIFY(button("btnConnect")->isEnabled());
    QVERIFY(!button("btnDisconnect")->isEnabled());
    QVERIFY(connectBench());
    QVERIFY(!button("btnConnect")->isEnabled());
    QVERIFY(button("btnDisconnect")->isEnabled());
    // Disconnect asks first; Cancel keeps the link.
    m_env->prompt.answer = false;
    button("btnDisconnect")->click();
    QVERIFY(Helper::instance()->worker()->isConnected());
    m_env->prompt.answer = true;
    button("btnDisconnect")->click();
    QCOMPARE(m_env->prompt.calls.last().text, QStringLiteral("Are you sure to disconnect?"));
    QVERIFY(!Helper::instance()->worker()->isConnected());
    QVERIFY(button("btnConnect")->isEnabled());
    QVERIFY(!button("btnDisconnect")->isEnabled());
}

void TestDeviceTools::canIdChangeFromStrip() {
    // Without a device nothing is sent.
    button("btnChangeCanId")->click();
    QCOMPARE(errorsAndInfos(), QStringList{"error: No activated device!"});
    QVERIFY(connectBench());
    auto* spin = m_tools->findChild<QSpinBox*>(QStringLiteral("spnCanId"));
    spin->setValue(5);
    for (int id : {5, 6, 7}) {
        button("btnChangeCanId")->click();
        QVERIFY(m_lines.contains(QStringLiteral("Send Z48 Command SET_CAN_ID to CAN(%1): can id = %2")
                                     .arg(id == 5 ? 1 : id - 1)
                                     .arg(id)));
        // The motor announces itself under its new ID; its record follows.
        QTRY_COMPARE_WITH_TIMEOUT(device()->r(QStringLiteral("info.can_id"))->get().toInt(), id, 5000);
    }
    QCOMPARE(spin->value(), 8);
    QCOMPARE(kx::d("project.device")->size(), 1);
}

void TestDeviceTools::canIdStopsAt127() {
    QVERIFY(connectBench());
    auto* spin = m_tools->findChild<QSpinBox*>(QStringLiteral("spnCanId"));
    spin->setValue(127);
    button("btnChangeCanId")->click();
    QCOMPARE(spin->value(), 127);
    QTRY_COMPARE_WITH_TIMEOUT(device()->r(QStringLiteral("info.can_id"))->get().toInt(), 127, 5000);
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.auto_increase_can_id"), false);
    spin->setValue(3);
    button("btnChangeCanId")->click();
    QCOMPARE(spin->value(), 3);
}

void TestDeviceTools::calibrationFlow() {
    QVERIFY(connectBench());
    m_env->prompt.answer = false;
    button("btnEncoderCalibration")->click();
    QVERIFY(m_covers.isEmpty());  // declined: nothing happens
    m_env->prompt.answer = true;
    button("btnEncoderCalibration")->click();
    QCOMPARE(m_covers, (QStringList{"Preparing calibration...", "Calibrating encoder...",
                                    "Saving calibration result...", ""}));
    const QStringList boxes = errorsAndInfos();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().startsWith("information: Device Motor 1 encoder calibration finish.\n"
                                      "Encoder Electrical Offset: "),
             qPrintable(boxes.first()));
}

void TestDeviceTools::calibrationNeverStarts() {
    QVERIFY(connectBench());
    m_sim->command("silence on");
    m_env->prompt.answer = true;
    button("btnEncoderCalibration")->click();
    QCOMPARE(m_covers, (QStringList{"Preparing calibration...", ""}));
    QCOMPARE(errorsAndInfos(), QStringList{"error: Calibration failed!"});
}

void TestDeviceTools::calibrationUnplugged() {
    QVERIFY(connectBench({"--cali-time", "20000"}));
    m_env->prompt.answer = true;
    QObject scope;
    connect(kx::d("trigger.block"), &kx::DataObject::changed, &scope, [this](const QVariant& v) {
        if (v.toString() == QLatin1String("Calibrating encoder..."))
            m_sim->command("unplug");
    });
    button("btnEncoderCalibration")->click();
    QCOMPARE(m_covers.last(), QString());
    QVERIFY(!Helper::instance()->worker()->isConnected());
    // No error box: the port's question whether to wait for the adapter, and one line.
    QVERIFY2(errorsAndInfos().isEmpty(), qPrintable(errorsAndInfos().join('\n')));
    QVERIFY(hasNotice(QStringLiteral("Reconnect as soon as it is back?")));
    QCOMPARE(m_lines.last(), QStringLiteral("<ERROR> Calibration aborted: the adapter was disconnected."));
}

void TestDeviceTools::updateSucceeds() {
    QVERIFY(connectBench());
    const QString file = writeFile(m_env->path("fw.bin"), QByteArray(2000, '\x42'));
    QString title;
    QString filter;
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString& t, const QString& f) {
        title = t;
        filter = f;
        return QString();
    });
    // Cancelling the file dialog does nothing and says nothing.
    button("btnUpdate")->click();
    QCOMPARE(title, QStringLiteral("Open Binary File"));
    QCOMPARE(filter, QStringLiteral("Binary File(*.bin *.hex)"));
    QVERIFY(m_env->prompt.calls.isEmpty());
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return file; });
    // Declined: the question names the motor, the file and what runs now; nothing is sent.
    m_env->prompt.answer = false;
    button("btnUpdate")->click();
    const QString question = m_env->prompt.calls.last().text;
    for (const QString& part :
         {QStringLiteral("Motor 1 (MCU ID 0x3a10c5e700001001, CAN ID 1)"),
          QStringLiteral("File: fw.bin (2000 bytes)"), QStringLiteral("Running version: 0.9.4"),
          QStringLiteral("Are you sure to update? This may take a while.")})
        QVERIFY2(question.contains(part), qPrintable(question));
    QVERIFY(!m_covers.contains(QStringLiteral("Erasing flash...")));

    m_covers.clear();
    m_env->prompt.answer = true;
    button("btnUpdate")->click();
    // The version is read back from the motor: what runs now, not what was sent.
    const QString installed =
        QStringLiteral("fw-%1").arg(crc32(QByteArray(2000, '\x42')), 8, 16, QLatin1Char('0'));
    QCOMPARE(
        errorsAndInfos(),
        QStringList{"information: Update successfully!\n\nFirmware version: " + installed + " (was 0.9.4)"});
    QCOMPARE(m_covers.first(), QStringLiteral("Erasing flash..."));
    QCOMPARE(m_covers.at(1), QStringLiteral("Sending file... 0%"));
    QVERIFY(m_covers.contains(QStringLiteral("Sending file... 100%")));
    QCOMPARE(m_covers.last(), QString());
    // The outcome stays in the log, not only in a box.
    const QString motor = QStringLiteral("Motor 1 (MCU ID 0x3a10c5e700001001, CAN ID 1)");
    QVERIFY(m_lines.contains(motor + QStringLiteral(": Update successfully!")));
    QVERIFY(m_lines.contains(motor + QStringLiteral(": Firmware version: ") + installed + " (was 0.9.4)"));
    QVERIFY(logFileHas(motor + QStringLiteral(": Update successfully!")));
}

void TestDeviceTools::updateToTheSameVersionIsReported() {
    QVERIFY(connectBench());
    const QString file =
        writeFile(m_env->path("same.bin"), versionedImage("0.9.4", QByteArray(3000, '\x17')));
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return file; });
    m_env->prompt.answer = true;
    button("btnUpdate")->click();
    const QString box = m_env->prompt.calls.last().kind + ": " + m_env->prompt.calls.last().text;
    QCOMPARE(box,
             QStringLiteral("warning: Update successfully!\n\nThe firmware version is still 0.9.4: the motor "
                            "may not run the new image."));
    QVERIFY(
        m_lines.last().startsWith(QStringLiteral("<ERROR> Motor 1 (MCU ID 0x3a10c5e700001001, CAN ID 1): "
                                                 "The firmware version is still 0.9.4")));
}

void TestDeviceTools::resetZeroAsksNamingTheMotor() {
    QVERIFY(connectBench());
    m_env->prompt.answer = false;
    button("btnInit")->click();
    QCOMPARE(
        m_env->prompt.calls.last().text,
        QStringLiteral("Set the present position of Motor 1 (MCU ID 0x3a10c5e700001001, CAN ID 1) as its "
                       "mechanical zero? Positions are counted from there afterwards."));
    auto zeroSent = [this] {
        return std::any_of(m_lines.begin(), m_lines.end(),
                           [](const QString& l) { return l.startsWith("Send Z48 Command ZERO_MECH"); });
    };
    QVERIFY(!zeroSent());
    m_env->prompt.answer = true;
    button("btnInit")->click();
    QVERIFY(zeroSent());
}

void TestDeviceTools::canIdBoxMovesOnlyWhenTheMotorTookTheId() {
    QVERIFY(connectBench());
    auto* spin = m_tools->findChild<QSpinBox*>(QStringLiteral("spnCanId"));
    spin->setValue(5);
    // A change that never reaches the motor leaves the box at the ID to try again.
    m_sim->command("drop rx 1");
    button("btnChangeCanId")->click();
    QTest::qWait(1500);
    QCOMPARE(spin->value(), 5);
    QCOMPARE(device()->r(QStringLiteral("info.can_id"))->get().toInt(), 1);
    m_sim->command("drop rx 0");
    button("btnChangeCanId")->click();
    QTRY_COMPARE_WITH_TIMEOUT(spin->value(), 6, 5000);
    QCOMPARE(device()->r(QStringLiteral("info.can_id"))->get().toInt(), 5);
    // The strip is rebuilt on every tab change; the next ID survives it.
    m_tools = std::make_unique<DeviceTools>();
    QCOMPARE(m_tools->findChild<QSpinBox*>(QStringLiteral("spnCanId"))->value(), 6);
}

void TestDeviceTools::reconnectAfterAnUnplug() {
    QVERIFY(connectBench());
    QVERIFY(!button("btnReconnect")->isVisible());
    QPointer<kx::DataObject> record = device();
    m_env->prompt.answer = false;  // no waiting: the user reconnects by hand
    m_sim->command("unplug");
    QTRY_VERIFY_WITH_TIMEOUT(!Helper::instance()->worker()->isConnected(), 10000);
    QVERIFY(record);
    QVERIFY(button("btnReconnect")->isVisible());
    m_sim->command("plug");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(m_sim->path()), 5000);
    button("btnReconnect")->click();
    QTRY_VERIFY_WITH_TIMEOUT(record && record->c(QStringLiteral("_connected"))->getBool(false), 20000);
    QVERIFY(!button("btnReconnect")->isVisible());
}

void TestDeviceTools::updateRefusesBadFiles_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << 0 << "File contains no data!";
    QTest::newRow("over 512 KiB") << 524289 << "File size over 512KB!";
    QTest::newRow("unreadable") << -1 << "Cannot read the file gone.bin: No such file or directory";
}

void TestDeviceTools::updateRefusesBadFiles() {
    QFETCH(int, size);
    QFETCH(QString, message);
    QVERIFY(connectBench());
    const QString file =
        size < 0 ? m_env->path("gone.bin") : writeFile(m_env->path("fw.bin"), QByteArray(size, 1));
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return file; });
    QSignalSpy writes(Helper::instance()->worker()->link(), &otaThread::WriteToSerial);
    m_env->prompt.answer = true;
    button("btnUpdate")->click();
    QCOMPARE(errorsAndInfos(), QStringList{"error: " + message});
    QVERIFY(m_covers.isEmpty());
    QTest::qWait(200);
    QCOMPARE(writes.count(), 0);
}

void TestDeviceTools::updateUnplugged() {
    QVERIFY(connectBench({"--latency", "2"}));
    const QString file = writeFile(m_env->path("fw.bin"), QByteArray(40000, '\x42'));
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return file; });
    m_env->prompt.answer = true;
    QObject scope;
    connect(kx::d("trigger.block"), &kx::DataObject::changed, &scope, [this](const QVariant& v) {
        if (v.toString() == QLatin1String("Sending file... 2%"))
            m_sim->command("unplug");
    });
    button("btnUpdate")->click();
    QCOMPARE(m_covers.last(), QString());
    QVERIFY2(errorsAndInfos().isEmpty(), qPrintable(errorsAndInfos().join('\n')));
    QVERIFY(hasNotice(QStringLiteral("Reconnect as soon as it is back?")));
    QVERIFY2(m_lines.last().endsWith(QStringLiteral(": The adapter was disconnected during the update.")),
             qPrintable(m_lines.last()));
}

TRIVANE_GUI_TEST_MAIN(TestDeviceTools)
#include "tst_devicetools.moc"
