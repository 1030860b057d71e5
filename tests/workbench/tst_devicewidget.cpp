// The device tree and the device info page as real widgets: rows following the records, the
// selection rules, and against the simulated bench the alarms of each motor and the CAN ID
// change from the info page.
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include "app/apptest.h"
#include "link/canworker.h"
#include "link/linkcommands.h"
#include "link/motormodel.h"
#include "link/motorstates.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/device/devicewidget.h"
#include "workbench/workbenchscreens.h"

#define TRIVANE_SIM_PATH TRIVANE_BIN_DIR "/trivane-sim"
#include "link/simbench.h"

namespace {

const QString kFirstMcu = QStringLiteral("3a10c5e700001001");

// What detection does: an empty record first, its identity afterwards.
kx::DataObject* detect(const QString& name, int canId) {
    auto* record = new kx::DataObject(name);
    kx::d(QStringLiteral("project.device"))->insert(nullptr, record);
    record->set(nullptr, QStringLiteral("info.mcu_id"),
                QVariant::fromValue<quint64>(name.toULongLong(nullptr, 16)), true);
    record->set(nullptr, QStringLiteral("info.can_id"), QVariant::fromValue<quint8>(quint8(canId)), true);
    return record;
}

int countLines(const QStringList& lines, const QString& line) {
    return int(std::count(lines.begin(), lines.end(), line));
}

}  // namespace

class TestDeviceWidget : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rowsFollowTheRecord();
    void rowsOfSeveralDevices();
    void selectionByClick();
    void pagePicturesByModel();
    void alarmsOnTheBench();
    void canIdChangeFromThePage();

private:
    bool connectBench();
    // Sends a control command and waits for the bench's answer line.
    bool simSays(const QByteArray& command) {
        QProcess& p = m_sim->process();
        p.readAllStandardOutput();
        m_sim->command(command);
        return QTest::qWaitFor([&p] { return p.canReadLine(); }, 10000) && p.readLine().startsWith("ok");
    }
    QTreeWidgetItem* alarmRow(DeviceWidget& tree, const QString& name) {
        QTreeWidgetItem* row = tree.deviceItem(name);
        return row ? row->child(2) : nullptr;
    }

    std::unique_ptr<CaseEnvironment> m_env;
    std::unique_ptr<linktest::SimBench> m_sim;
    QStringList m_lines;
    QMetaObject::Connection m_status;
};

void TestDeviceWidget::initTestCase() {
    registerWorkbenchScreens();
}

void TestDeviceWidget::init() {
    m_env = std::make_unique<CaseEnvironment>();
    MotorModel::reset();
    MotorStates::reset();
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.upload_param_on_connected"), false);
    Helper::instance()->createBackends();
    m_lines.clear();
    m_status = connect(kx::d(QStringLiteral("wnd.status.msg")), &kx::DataObject::changed, this,
                       [this](const QVariant& value) { m_lines << value.toString(); });
}

void TestDeviceWidget::cleanup() {
    QObject::disconnect(m_status);
    Helper::instance()->setCurrentDeviceDobj(nullptr);
    Helper::instance()->destroyBackends();
    m_sim.reset();
    m_env.reset();
}

bool TestDeviceWidget::connectBench() {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true);
    m_sim = std::make_unique<linktest::SimBench>();
    const QString path = m_sim->start({QStringLiteral("--motors"), QStringLiteral("2")});
    if (path.isEmpty())
        return false;
    Helper::instance()->worker()->connectPort(path);
    return QTest::qWaitFor([] { return Helper::instance()->worker()->registeredCanIds().size() == 2; },
                           30000);
}

void TestDeviceWidget::rowsFollowTheRecord() {
    DeviceWidget tree;
    QCOMPARE(tree.tree()->objectName(), QStringLiteral("treeWidget"));
    auto* record = new kx::DataObject(QStringLiteral("a1"));
    kx::d(QStringLiteral("project.device"))->insert(nullptr, record);
    QTreeWidgetItem* row = tree.deviceItem(QStringLiteral("a1"));
    QVERIFY(row);
    QCOMPARE(row->text(0), QStringLiteral("Tarn Motor 0"));
    QCOMPARE(row->text(1), QStringLiteral("Disconnected"));
    QVERIFY(row->isExpanded());
    // The record took the template's shape when it arrived.
    QVERIFY(!record->r(QStringLiteral("_control.mit.kp"))->isEmpty());

    record->set(nullptr, QStringLiteral("info.mcu_id"), QVariant::fromValue<quint64>(0x3a10c5e700001001ull));
    record->set(nullptr, QStringLiteral("info.can_id"), QVariant::fromValue<quint8>(5));
    record->set(nullptr, QStringLiteral("_connected"), true);
    QTreeWidgetItem* info = row->child(0);
    QCOMPARE(row->text(0), QStringLiteral("Motor 5"));
    QCOMPARE(info->child(0)->text(1), QStringLiteral("Fac"));
    QCOMPARE(info->child(1)->text(1), QStringLiteral("3a10c5e700001001"));
    QCOMPARE(info->child(2)->text(1), QStringLiteral("5"));
    QCOMPARE(row->text(1), QStringLiteral("Connected"));
    QCOMPARE(row->foreground(1).color(), QColor(7, 193, 96));

    // A CAN ID past 127 reads as a signed byte, in the row name and the cell alike.
    record->set(nullptr, QStringLiteral("info.can_id"), 200);
    QCOMPARE(row->text(0), QStringLiteral("Motor -56"));
    QCOMPARE(info->child(2)->text(1), QStringLiteral("-56"));
    // An MCU ID with its top bit set keeps its bits; text that is no number reads as 0.
    record->set(nullptr, QStringLiteral("info.mcu_id"), QVariant::fromValue<quint64>(0xfedcba9876543210ull));
    QCOMPARE(info->child(1)->text(1), QStringLiteral("fedcba9876543210"));
    record->set(nullptr, QStringLiteral("info.mcu_id"), QStringLiteral("bogus"));
    QCOMPARE(info->child(1)->text(1), QStringLiteral("0"));

    record->set(nullptr, QStringLiteral("_connected"), false);
    QCOMPARE(row->text(1), QStringLiteral("Disconnected"));
    QCOMPARE(row->foreground(1).color(), QColor(Qt::white));

    // Parameter rows are rebuilt whole on every change of "param".
    kx::DataObject* param = record->c(QStringLiteral("param"));
    param->set(nullptr, QStringLiteral("limit_cur"), 27, true);
    param->set(nullptr, QStringLiteral("name"), QVariant(), true);
    param->trigger();
    QTreeWidgetItem* params = row->child(1);
    QCOMPARE(params->childCount(), 2);
    QCOMPARE(params->child(0)->text(0), QStringLiteral("limit_cur"));
    QCOMPARE(params->child(0)->text(1), QStringLiteral("27"));
    QCOMPARE(params->child(1)->text(1), QString());
    param->remove(nullptr, QStringLiteral("limit_cur"));
    param->trigger();
    QCOMPARE(params->childCount(), 1);
    QCOMPARE(params->child(0)->text(0), QStringLiteral("name"));
}

void TestDeviceWidget::rowsOfSeveralDevices() {
    // Records already there (a project opened before the tree was built) get their rows too.
    kx::DataObject* early = detect(QStringLiteral("b1"), 3);
    early->set(nullptr, QStringLiteral("alias"), QStringLiteral("left hip"), true);
    DeviceWidget tree;
    QCOMPARE(tree.tree()->topLevelItemCount(), 1);
    QCOMPARE(tree.deviceItem(QStringLiteral("b1"))->text(0), QStringLiteral("Motor 3"));
    // Its own values are kept: the template only shapes records that arrive empty.
    QCOMPARE(early->c(QStringLiteral("alias"))->getString(), QStringLiteral("left hip"));
    detect(QStringLiteral("b2"), 4);
    QCOMPARE(tree.tree()->topLevelItemCount(), 2);
    QCOMPARE(tree.deviceItem(QStringLiteral("b2"))->text(0), QStringLiteral("Motor 4"));
    auto* third = new kx::DataObject(QStringLiteral("b3"));
    kx::d(QStringLiteral("project.device"))->insert(nullptr, third);
    QCOMPARE(tree.deviceItem(QStringLiteral("b3"))->text(0), QStringLiteral("Tarn Motor 2"));

    kx::d(QStringLiteral("project.device"))->remove(nullptr, QStringLiteral("b2"));
    QCOMPARE(tree.tree()->topLevelItemCount(), 2);
    QVERIFY(!tree.deviceItem(QStringLiteral("b2")));
    // Removing every record (a disconnect) leaves an empty tree.
    kx::d(QStringLiteral("project.device"))->clear(nullptr);
    QCOMPARE(tree.tree()->topLevelItemCount(), 0);
}

void TestDeviceWidget::selectionByClick() {
    kx::DataObject* first = detect(QStringLiteral("c1"), 1);
    kx::DataObject* second = detect(QStringLiteral("c2"), 2);
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.trigger_by_left"), false);
    DeviceWidget tree;
    Helper* helper = Helper::instance();
    QSignalSpy changes(helper, &Helper::currentDeviceDobjChanged);

    tree.tree()->setCurrentItem(tree.deviceItem(QStringLiteral("c2")));
    QVERIFY(helper->currentDeviceDobj()->isEmpty());

    kx::d(QStringLiteral("config.setting.trigger_by_left"))->set(nullptr, true);
    // A child row (here the CAN ID cell) selects the device that owns it.
    tree.tree()->setCurrentItem(tree.deviceItem(QStringLiteral("c1"))->child(0)->child(2));
    QCOMPARE(helper->currentDeviceDobj(), first);
    QCOMPARE(changes.count(), 1);
    // The device that is already current: nothing is emitted.
    tree.tree()->setCurrentItem(tree.deviceItem(QStringLiteral("c1")));
    QCOMPARE(changes.count(), 1);

    // Another writer of the current device (the sidebar) moves the tree's current row along.
    helper->setCurrentDeviceDobj(second);
    QCOMPARE(tree.tree()->currentItem(), tree.deviceItem(QStringLiteral("c2")));
    QCOMPARE(changes.count(), 2);

    kx::d(QStringLiteral("config.setting.trigger_by_left"))->set(nullptr, false);
    tree.tree()->setCurrentItem(tree.deviceItem(QStringLiteral("c1")));
    QCOMPARE(helper->currentDeviceDobj(), second);
}

void TestDeviceWidget::pagePicturesByModel() {
    kx::DataObject* record = detect(QStringLiteral("d1"), 9);
    Helper::instance()->setCurrentDeviceDobj(record);
    auto pictureOf = [](const DeviceInfoPage& page) {
        return page.findChild<QLabel*>(QStringLiteral("lblProductImage"))
            ->pixmap(Qt::ReturnByValue)
            .toImage();
    };
    {
        DeviceInfoPage page;  // no model reply yet: the design pictures
        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("lblDeviceName"))->text(), QStringLiteral("Motor 9"));
        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("lblMcuId"))->text(), QStringLiteral("0xd1"));
        QCOMPARE(page.findChild<QSpinBox*>(QStringLiteral("spnCanId"))->value(), 9);
        QCOMPARE(pictureOf(page),
                 QImage(QStringLiteral(":/images/motor/z48.png")).convertToFormat(pictureOf(page).format()));
    }
    // Another motor's model is not this one's.
    QVERIFY(MotorStates::applyModel(4, 0, 1));
    {
        DeviceInfoPage page;
        QCOMPARE(pictureOf(page),
                 QImage(QStringLiteral(":/images/motor/z48.png")).convertToFormat(pictureOf(page).format()));
    }
    QVERIFY(MotorStates::applyModel(9, 0, 1));
    DeviceInfoPage page;
    const QImage expected = QImage(DeviceInfoPage::picturesFor(1).value(0));
    QVERIFY(!expected.isNull());
    QCOMPARE(pictureOf(page), expected.convertToFormat(pictureOf(page).format()));
    // The choice is made once: a later model reply leaves an open page as it is.
    QVERIFY(MotorStates::applyModel(9, 0, 2));
    QCOMPARE(pictureOf(page), expected.convertToFormat(pictureOf(page).format()));
}

void TestDeviceWidget::alarmsOnTheBench() {
    DeviceWidget tree;
    QVERIFY(connectBench());
    const QString second = Helper::instance()->worker()->deviceForCanId(2)->name();
    QCOMPARE(alarmRow(tree, kFirstMcu)->text(1), QStringLiteral("None"));

    m_sim->command("fault 1 0x9 0x1");
    QTRY_COMPARE_WITH_TIMEOUT(alarmRow(tree, kFirstMcu)->text(1),
                              QStringLiteral("fault 0x9; warning 0x1"), 10000);
    QCOMPARE(countLines(m_lines, QStringLiteral("<ERROR> Motor 1 fault: fault 0x9")), 1);
    QCOMPARE(alarmRow(tree, second)->text(1), QStringLiteral("None"));
    QCOMPARE(tree.deviceItem(kFirstMcu)->foreground(0).color(), QColor(255, 90, 90));

    // The same fault again is no news; a further bit is, and only that bit is named.
    m_sim->command("fault 1 0x9 0x1");
    m_sim->command("fault 1 0x19 0x1");
    QTRY_VERIFY_WITH_TIMEOUT(m_lines.contains(QStringLiteral("<ERROR> Motor 1 fault: fault 0x10")),
                             10000);
    QCOMPARE(countLines(m_lines, QStringLiteral("<ERROR> Motor 1 fault: fault 0x9")), 1);

    // A warning alone is shown without the error tag.
    m_sim->command("fault 2 0 0x4");
    QTRY_COMPARE_WITH_TIMEOUT(alarmRow(tree, second)->text(1), QStringLiteral("warning 0x4"), 10000);
    QVERIFY(m_lines.contains(QStringLiteral("Motor 2 warning: warning 0x4")));

    Helper::instance()->setCurrentDeviceDobj(kx::d(QStringLiteral("project.device"))->c(kFirstMcu));
    QVERIFY(LinkCommands::send(LinkCommand::clearAlarm(1)));
    QCOMPARE(alarmRow(tree, kFirstMcu)->text(1), QStringLiteral("None"));
    QCOMPARE(alarmRow(tree, second)->text(1), QStringLiteral("warning 0x4"));
    // Cleared, the same fault is news again.
    m_sim->command("fault 1 0x9 0");
    QTRY_COMPARE_WITH_TIMEOUT(countLines(m_lines, QStringLiteral("<ERROR> Motor 1 fault: fault 0x9")),
                              2, 10000);
}

void TestDeviceWidget::canIdChangeFromThePage() {
    DeviceWidget tree;
    QVERIFY(connectBench());
    kx::DataObject* record = kx::d(QStringLiteral("project.device"))->c(kFirstMcu);
    Helper::instance()->setCurrentDeviceDobj(record);
    DeviceInfoPage page;
    auto* spin = page.findChild<QSpinBox*>(QStringLiteral("spnCanId"));
    auto* change = page.findChild<QPushButton*>(QStringLiteral("btnChangeCanId"));
    auto* name = page.findChild<QLabel*>(QStringLiteral("lblDeviceName"));
    QCOMPARE(spin->value(), 1);
    auto lastBox = [this] {
        return m_env->prompt.calls.isEmpty() ? QString() : m_env->prompt.calls.last().text;
    };

    spin->setValue(5);
    QTest::mouseClick(change, Qt::LeftButton);
    QCOMPARE(lastBox(), QStringLiteral("Device Motor 5 CAN ID set successfully!"));
    QCOMPARE(m_env->prompt.calls.last().kind, QStringLiteral("information"));
    QCOMPARE(record->r(QStringLiteral("info.can_id"))->getInt(0), 5);
    QCOMPARE(tree.deviceItem(kFirstMcu)->text(0), QStringLiteral("Motor 5"));
    QCOMPARE(name->text(), QStringLiteral("Motor 5"));

    spin->setValue(1);
    QVERIFY(page.changeCanId());
    QCOMPARE(lastBox(), QStringLiteral("Device Motor 1 CAN ID set successfully!"));
    // The CAN ID it already has: success at once.
    QVERIFY(page.changeCanId());
    QCOMPARE(lastBox(), QStringLiteral("Device Motor 1 CAN ID set successfully!"));

    // Nobody answers: failure after the wait, the record and the spin box keep their values.
    QVERIFY(simSays("silence on"));
    spin->setValue(7);
    QVERIFY(!page.changeCanId());
    QCOMPARE(lastBox(), QStringLiteral("Device Motor 1 CAN ID set failed!"));
    QCOMPARE(m_env->prompt.calls.last().kind, QStringLiteral("error"));
    QCOMPARE(spin->value(), 7);
    QCOMPARE(record->r(QStringLiteral("info.can_id"))->getInt(0), 1);
}

TRIVANE_GUI_TEST_MAIN(TestDeviceWidget)
#include "tst_devicewidget.moc"
