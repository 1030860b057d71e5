// The port detection dialog as a real widget (offscreen): the order of its ports and CAN
// interfaces, a typed device path or bus address that really opens (the simulated bench's
// pseudo-terminal or virtual CAN bus), the last port preselected, and the driver link's help
// on Linux.
#include "app/apptest.h"
#include "link/canworker.h"
#include "link/transport/canbustransport.h"
#include "workbench/tools/detectdevicedialog.h"
#include "workbench/tools/devicetools.h"
#include "workbench/tools/driverhelp.h"
#include "workbench/workbenchscreens.h"

#define TRIVANE_SIM_PATH TRIVANE_BIN_DIR "/trivane-sim"
#include "link/simbench.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using PortInfo = DetectDeviceDialog::PortInfo;
Q_DECLARE_METATYPE(QList<PortInfo>)

class TestDetectDeviceDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void portOrder_data();
    void portOrder();
    void canInterfacesFollowTheSerialPorts();
    void typedPathConnectsAndIsRemembered();
    void typedBusAddressConnects();
    void portThatDoesNotOpenKeepsTheDialog();
    void driverLinkExplainsPermissions();
    void connectButtonOpensTheDialog();

private:
    std::unique_ptr<CaseEnvironment> m_env;
};

void TestDetectDeviceDialog::initTestCase() {
    registerWorkbenchScreens();
}

void TestDetectDeviceDialog::init() {
    m_env = std::make_unique<CaseEnvironment>();
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.upload_param_on_connected"), false);
    Helper::instance()->createBackends();
}

void TestDetectDeviceDialog::cleanup() {
    Helper::instance()->destroyBackends();
    m_env.reset();
}

void TestDetectDeviceDialog::portOrder_data() {
    QTest::addColumn<QList<PortInfo>>("ports");
    QTest::addColumn<QStringList>("texts");
    const PortInfo plain{"ttyS0", "Serial", false, 0, 0};
    const PortInfo ch340caps{"ttyUSB1", "USB2.0-Serial CH340", true, 0x1a86, 0x7523};
    const PortInfo ch340bare{"ttyUSB2", "", true, 0x1a86, 0x7523};
    const PortInfo otherBare{"ttyUSB3", "", true, 0x0403, 0x6001};
    const PortInfo acm{"ttyACM0", "ch340 clone", false, 0, 0};
    QTest::newRow("capitals first") << QList<PortInfo>{plain, ch340caps}
                                    << QStringList{"ttyUSB1 (USB2.0-Serial CH340)", "ttyS0 (Serial)"};
    QTest::newRow("USB identity without description") << QList<PortInfo>{otherBare, plain, ch340bare}
                                                      << QStringList{"ttyUSB2", "ttyUSB3", "ttyS0 (Serial)"};
    QTest::newRow("adapters keep their order")
        << QList<PortInfo>{acm, plain, ch340caps}
        << QStringList{"ttyACM0 (ch340 clone)", "ttyUSB1 (USB2.0-Serial CH340)", "ttyS0 (Serial)"};
    QTest::newRow("no ports") << QList<PortInfo>{} << QStringList{"/dev/serial/by-id/usb-adapter (ttyUSB1)"};
}

void TestDetectDeviceDialog::portOrder() {
    QFETCH(QList<PortInfo>, ports);
    QFETCH(QStringList, texts);
    const QList<QPair<QString, QString>> links{{"/dev/serial/by-id/usb-adapter", "ttyUSB1"}};
    const auto entries =
        DetectDeviceDialog::orderPorts(ports, ports.isEmpty() ? links : QList<QPair<QString, QString>>{});
    QStringList got;
    for (const auto& e : entries)
        got << e.text;
    QCOMPARE(got, texts);
    // An entry connects to its port name; a by-id link to its own path.
    if (!ports.isEmpty())
        QCOMPARE(entries.first().port, texts.first().section(' ', 0, 0));
    else
        QCOMPARE(entries.first().port, QStringLiteral("/dev/serial/by-id/usb-adapter"));
}

void TestDetectDeviceDialog::canInterfacesFollowTheSerialPorts() {
    const PortInfo plain{"ttyS0", "Serial", false, 0, 0};
    const QList<QPair<QString, QString>> links{{"/dev/serial/by-id/usb-adapter", "ttyUSB1"}};
    const auto entries = DetectDeviceDialog::orderPorts({plain}, links, {"socketcan:can0", "peakcan:usb0"});
    QStringList texts, ports;
    for (const auto& e : entries) {
        texts << e.text;
        ports << e.port;
    }
    QCOMPARE(texts, (QStringList{"ttyS0 (Serial)", "/dev/serial/by-id/usb-adapter (ttyUSB1)",
                                 "socketcan:can0 (CAN interface)", "peakcan:usb0 (CAN interface)"}));
    QCOMPARE(ports.mid(2), (QStringList{"socketcan:can0", "peakcan:usb0"}));

    // The dialog lists what the installed plug-ins report (none on a machine without CAN
    // hardware or kernel support), after every serial entry.
    DetectDeviceDialog dialog;
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("cmbPort"));
    const QStringList interfaces = CanBusTransport::availableInterfaces();
    QVERIFY(combo->count() >= interfaces.size());
    QStringList listed;
    for (int i = combo->count() - interfaces.size(); i < combo->count(); ++i)
        listed << combo->itemData(i).toString();
    QCOMPARE(listed, interfaces);
    for (int i = 0; i < combo->count() - interfaces.size(); ++i)
        QVERIFY(!CanBusTransport::takes(combo->itemData(i).toString()));
}

void TestDetectDeviceDialog::typedPathConnectsAndIsRemembered() {
    linktest::SimBench sim;
    const QString path = sim.start({});
    QVERIFY(!path.isEmpty());
    {
        DetectDeviceDialog dialog;
        dialog.show();
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("cmbPort"));
        QVERIFY(combo->isEditable());
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), path);
        dialog.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
        // The detect flow opens the port from the event loop; the dialog closes once it is open.
        QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), 10000);
    }
    CANWorker* worker = Helper::instance()->worker();
    QVERIFY(worker->isConnected());
    QCOMPARE(worker->portName(), path);
    QCOMPARE(kx::d("config.last_com")->getString(), path);
    QTRY_COMPARE_WITH_TIMEOUT(kx::d("project.device")->size(), 1, 15000);
    worker->disconnectPort();

    // The next dialog offers the same path, although the enumeration never lists a pty.
    DetectDeviceDialog again;
    QCOMPARE(again.findChild<QComboBox*>(QStringLiteral("cmbPort"))->currentText(), path);
    again.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(worker->isConnected(), 10000);
}

void TestDetectDeviceDialog::typedBusAddressConnects() {
    linktest::SimBench sim;
    const QString address = sim.startBus({});
    QVERIFY(address.startsWith(QLatin1String("virtualcan:")));
    {
        DetectDeviceDialog dialog;
        dialog.show();
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("cmbPort"));
        combo->lineEdit()->clear();
        auto* module = dialog.findChild<QComboBox*>(QStringLiteral("cmbType"));
        QCOMPARE(module->currentIndex(), 0);
        QTest::keyClicks(combo->lineEdit(), address);
        // No adapter behind a CAN interface: the module says so.
        QCOMPARE(module->currentText(), QStringLiteral("CAN interface"));
        dialog.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), 10000);
    }
    CANWorker* worker = Helper::instance()->worker();
    QVERIFY(worker->isConnected());
    QVERIFY(!worker->carriesAdapterCommands());
    QCOMPARE(kx::d("config.last_com")->getString(), address);
    QTRY_COMPARE_WITH_TIMEOUT(kx::d("project.device")->size(), 1, 15000);
    worker->disconnectPort();

    // A bus nobody serves any more keeps the dialog up, with the reason in a box.
    sim.stop();
    DetectDeviceDialog again;
    again.show();
    QCOMPARE(again.findChild<QComboBox*>(QStringLiteral("cmbPort"))->currentText(), address);
    again.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
    QVERIFY(again.isVisible());
    QVERIFY(!worker->isConnected());
    QTRY_VERIFY(!m_env->prompt.calls.isEmpty());
    QVERIFY(m_env->prompt.calls.last().text.contains(QLatin1String("Nothing serves the virtual CAN bus")));
}

void TestDetectDeviceDialog::portThatDoesNotOpenKeepsTheDialog() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.last_com"), QStringLiteral("/dev/pts/previous"),
                            true);
    DetectDeviceDialog dialog;
    dialog.show();
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("cmbPort"));
    combo->setEditText(m_env->path("no-such-port"));
    QSignalSpy opened(Helper::instance()->worker(), &CANWorker::connectionChanged);
    kx::d("wnd.status.msg")->set(nullptr, QString());
    dialog.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
    // The flow tries the port from the event loop; the worker reports why it did not open.
    QTRY_VERIFY_WITH_TIMEOUT(kx::d("wnd.status.msg")->getString().startsWith(QLatin1String("<ERROR>")),
                             10000);
    QVERIFY(dialog.isVisible());
    QVERIFY(!Helper::instance()->worker()->isConnected());
    QCOMPARE(opened.count(), 0);
    QCOMPARE(kx::d("config.last_com")->getString(), QStringLiteral("/dev/pts/previous"));
    // An empty box does nothing at all.
    combo->setEditText(QString());
    dialog.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
    QVERIFY(dialog.isVisible());
}

void TestDetectDeviceDialog::driverLinkExplainsPermissions() {
    DetectDeviceDialog dialog;
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("lblInstall"));
    // There is no driver to install on Linux: the link names the help it opens.
    QVERIFY2(!label->text().contains(QLatin1String("install"), Qt::CaseInsensitive),
             qPrintable(label->text()));
    QVERIFY(label->text().contains(DriverHelp::linuxHelpTitle()));
    emit label->linkActivated(QStringLiteral("driver"));
    QCOMPARE(m_env->prompt.calls.size(), 1);
    const PromptCall call = m_env->prompt.calls.first();
    QCOMPARE(call.kind, QStringLiteral("information"));
    QVERIFY(call.text.startsWith(DriverHelp::linuxHelpTitle()));
    QVERIFY(call.text.contains(QLatin1String("sudo usermod -aG dialout $USER")));
    QVERIFY(call.text.contains(QLatin1String("ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\"")));
    QVERIFY(call.text.contains(QLatin1String("sudo udevadm control --reload-rules && sudo udevadm trigger")));
    QVERIFY(!QFile::exists(QStringLiteral("driver.exe")));
}

void TestDetectDeviceDialog::connectButtonOpensTheDialog() {
    DeviceTools tools;
    tools.findChild<QPushButton*>(QStringLiteral("btnConnect"))->click();
    DetectDeviceDialog* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<DetectDeviceDialog*>(w); d && d->isVisible())
            dialog = d;
    }
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Detect Devices"));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QPointer<DetectDeviceDialog> guard(dialog);
    dialog->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
    QTRY_VERIFY(guard.isNull());  // deleted on close
}

TRIVANE_GUI_TEST_MAIN(TestDetectDeviceDialog)
#include "tst_detectdevicedialog.moc"
