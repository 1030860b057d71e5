// The motion sidebar's widgets without a bench: set-point rows bound to the device record,
// the device shared through the Helper, the sine switch's key, the motion switch without a
// device, and the sliding switch itself.
#include "tests/app/apptest.h"

#include "link/motormodel.h"
#include "workbench/sidebar/enablebutton.h"
#include "workbench/sidebar/setpointrow.h"
#include "workbench/sidebar/sidebar.h"
#include "workbench/sidebar/sidebarform.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>

namespace {

kx::DataObject* addConnectedDevice(const QString& mcu, int canId) {
    kx::DataObject* device = addDevice(mcu, canId);
    device->copyFrom(nullptr, kx::d(QStringLiteral("template.Ostrel_motor")), true, false);
    device->set(nullptr, QStringLiteral("info.can_id"), canId, true);
    device->set(nullptr, QStringLiteral("_connected"), true, true);
    return device;
}

}  // namespace

class TestSidebar : public QObject {
    Q_OBJECT

private slots:
    void init() { MotorModel::reset(); }

    void rowsFollowTheirNodes() {
        CaseEnvironment env;
        kx::DataObject* device = addConnectedDevice(QStringLiteral("a1"), 1);
        Sidebar sidebar;
        sidebar.show();
        Helper::instance()->setCurrentDeviceDobj(device);
        SetpointRow* torque = sidebar.form()->torque;
        kx::DataObject* node = device->r(QStringLiteral("_control.mit.torque"));
        QCOMPARE(torque->node(), node);

        // Typing stores the value without announcing it, and the slider follows (749.25 cut).
        QSignalSpy announced(node, &kx::DataObject::changed);
        torque->spin()->setValue(6);
        QCOMPARE(node->getDouble(), 6.0);
        QCOMPARE(announced.count(), 0);
        QCOMPARE(torque->slider()->value(), 749);

        torque->slider()->setValue(999);
        QCOMPARE(torque->spin()->value(), 12.0);
        QCOMPARE(node->getDouble(), 12.0);

        // A change from elsewhere moves both widgets; "0" resets through the node.
        node->set(nullptr, -3.0);
        QCOMPARE(torque->spin()->value(), -3.0);
        QCOMPARE(torque->slider()->value(), 374);
        sidebar.form()->stackedWidget->setEnabled(true);  // as when switched on
        QTest::mouseClick(torque->reset(), Qt::LeftButton);
        QCOMPARE(node->getDouble(), 0.0);
        QCOMPARE(torque->spin()->value(), 0.0);
        QCOMPARE(torque->slider()->value(), 499);

        // A model without that setting collapses the range: the value follows, nothing breaks.
        SetpointRow* acc = sidebar.form()->ppAcc;
        QCOMPARE(acc->spin()->value(), 10.0);
        acc->setRange(0, 0);
        QCOMPARE(acc->spin()->value(), 0.0);
        QCOMPARE(device->r(QStringLiteral("_control.pos.acc"))->getDouble(-1), 0.0);
        QCOMPARE(acc->slider()->value(), 0);
        acc->slider()->setValue(500);
        QCOMPARE(acc->spin()->value(), 0.0);
    }

    void deviceComesThroughTheHelper() {
        CaseEnvironment env;
        kx::DataObject* first = addConnectedDevice(QStringLiteral("a1"), 1);
        kx::DataObject* second = addConnectedDevice(QStringLiteral("a2"), 2);
        second->set(nullptr, QStringLiteral("_control.mit.kp"), 42.0);
        Sidebar sidebar;
        sidebar.show();
        SidebarForm* f = sidebar.form();
        // A fresh panel lists the connected devices and makes the first one current.
        QCOMPARE(f->cmbDevice->count(), 2);
        QCOMPARE(Helper::instance()->currentDeviceDobj(), first);

        // The device tree chooses through the Helper: the panel shows that record's values
        // and writes there.
        Helper::instance()->setCurrentDeviceDobj(second);
        QCOMPARE(f->cmbDevice->currentData().toString(), QStringLiteral("a2"));
        QCOMPARE(f->kp->spin()->value(), 42.0);
        f->kp->spin()->setValue(7);
        QCOMPARE(second->r(QStringLiteral("_control.mit.kp"))->getDouble(), 7.0);
        QCOMPARE(first->r(QStringLiteral("_control.mit.kp"))->getDouble(), 0.0);

        // Choosing in the combo reaches the Helper; the record's motion state comes along.
        first->set(nullptr, QStringLiteral("_mode"), 2, true);
        f->cmbDevice->setCurrentIndex(0);
        QCOMPARE(Helper::instance()->currentDeviceDobj(), first);
        QVERIFY(f->ebControl->isOn());
        QVERIFY(!f->cmbControlMode->isEnabled());
        QCOMPARE(f->stackedWidget->currentIndex(), int(SidebarForm::PageVel));
        QVERIFY(env.prompt.calls.isEmpty());

        // A record that goes away leaves the panel without a device, not with a stale one.
        kx::d(QStringLiteral("project.device"))->remove(nullptr, first);
        QVERIFY(Helper::instance()->currentDeviceDobj()->isEmpty());
        QVERIFY(f->torque->node() == nullptr);
    }

    void sineSwitchKeepsOneKey() {
        CaseEnvironment env;
        kx::DataObject* device = addConnectedDevice(QStringLiteral("a1"), 1);
        // Written elsewhere under the other key, next to the template's default.
        device->set(nullptr, QStringLiteral("_control.sin.enabled"), true, true);
        device->set(nullptr, QStringLiteral("_control.sin.amplitude"), 2.5, true);
        Sidebar sidebar;
        sidebar.show();
        SidebarForm* f = sidebar.form();
        kx::DataObject* sin = device->r(QStringLiteral("_control.sin"));
        QVERIFY(sin->c(QStringLiteral("enabled"))->isEmpty());
        QCOMPARE(sin->c(QStringLiteral("enable"))->getBool(false), true);
        QVERIFY(f->ebSin->isOn());
        QCOMPARE(f->dspnSinA->value(), 2.5);

        f->cmbControlMode->setCurrentIndex(1);
        QVERIFY(f->wgtSin->isVisibleTo(&sidebar));
        QTest::mouseClick(f->ebSin, Qt::LeftButton);
        QCOMPARE(sin->c(QStringLiteral("enable"))->getBool(true), false);
        QVERIFY(sin->c(QStringLiteral("enabled"))->isEmpty());
        // Shown again from the record after a device change.
        Helper::instance()->setCurrentDeviceDobj(nullptr);
        Helper::instance()->setCurrentDeviceDobj(device);
        QVERIFY(!f->ebSin->isOn());
    }

    void motionSwitchNeedsADevice() {
        CaseEnvironment env;
        Sidebar sidebar;
        sidebar.show();
        SidebarForm* f = sidebar.form();
        QVERIFY(Helper::instance()->currentDeviceDobj()->isEmpty());
        QTest::mouseClick(f->ebControl, Qt::LeftButton);
        QVERIFY(!f->ebControl->isOn());
        QVERIFY(!f->stackedWidget->isEnabled());
        QVERIFY(f->cmbControlMode->isEnabled());
        QVERIFY(env.prompt.calls.isEmpty());
    }

    void enableButtonFlipsOnLeftClickOnly() {
        EnableButton button;
        button.resize(48, 24);
        QSignalSpy spy(&button, &EnableButton::enabled);
        QTest::mouseClick(&button, Qt::RightButton);
        QCOMPARE(spy.count(), 0);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        // The knob glides to the far end of its travel.
        QTRY_COMPARE(button.knobPosition(), 24);
        button.setSwitch(false, false);
        QTRY_COMPARE(button.knobPosition(), 0);
        QCOMPARE(spy.count(), 1);
        QVERIFY(!button.isOn());
    }
};

TRIVANE_GUI_TEST_MAIN(TestSidebar)
#include "tst_sidebar.moc"
