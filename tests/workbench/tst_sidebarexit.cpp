// The whole program's shut-down on SIGTERM with a motor switched on from the sidebar: the
// motor is put into reset mode before the port closes.
#include "tests/app/apptest.h"
#include "tests/workbench/motionbench.h"

#include "app/shell/mainwindow.h"
#include "workbench/sidebar/enablebutton.h"
#include "workbench/sidebar/sidebar.h"
#include "workbench/sidebar/sidebarform.h"
#include "workbench/workbenchscreens.h"

#include <QTimer>

#include <csignal>

using namespace motiontest;

class TestSidebarExit : public QObject {
    Q_OBJECT

private slots:
    void terminationResetsSwitchedOnMotor() {
        CaseEnvironment env;
        registerWorkbenchScreens();
        MotionBench bench;
        QVERIFY(bench.start(1));
        kx::DataObject* config = kx::d(QStringLiteral("config"));
        config->set(nullptr, QStringLiteral("language"), QStringLiteral("en"), true);
        config->set(nullptr, QStringLiteral("last_com"), bench.sim().path(), true);
        setConfig(QStringLiteral("auto_connect"), true);
        setConfig(QStringLiteral("load_last_project"), false);
        setConfig(QStringLiteral("upload_param_on_connected"), false);

        Startup startup;
        startup.start();
        Helper::instance()->setPrompt(&env.prompt);
        auto* sidebar = startup.mainWindow()->findChild<Sidebar*>();
        QVERIFY(sidebar);
        QTRY_VERIFY_WITH_TIMEOUT(
            !Helper::instance()->currentDeviceDobj()->isEmpty() && MotorStates::get(1).modelKnown, 20000);
        QTest::mouseClick(sidebar->form()->ebControl, Qt::LeftButton);
        QVERIFY(sidebar->form()->ebControl->isOn());
        auto motorMode = [](const CanFrame& f) {
            return f.type() == CANCOM_MOTOR_IN && f.destination() == 1;
        };
        QTRY_COMPARE_WITH_TIMEOUT(count(bench.frames(), motorMode), 1, 10000);

        QTimer::singleShot(0, [] { ::raise(SIGTERM); });
        QCOMPARE(QApplication::exec(), 0);
        startup.shutdown();
        auto reset = [](const CanFrame& f) {
            return f.type() == CANCOM_MOTOR_RESET && f.destination() == 1 && f.data[1] != 0xC4;
        };
        QTRY_COMPARE_WITH_TIMEOUT(count(bench.frames(), reset), 1, 10000);
    }
};

TRIVANE_GUI_TEST_MAIN(TestSidebarExit)
#include "tst_sidebarexit.moc"
