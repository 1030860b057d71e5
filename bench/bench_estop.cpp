// Motion sidebar figures against the simulated bench, run in this process so both ends share
// one clock: time from an E-stop click to the moment the bench has put each motor into brake
// mode, and the MIT frames per second the bench receives while the sidebar streams
// continuously. Run by hand: build/bin/bench_estop [motors] [rounds] [seconds].
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/motorstates.h"
#include "link/serialrecord.h"
#include "sim/simadapter.h"
#include "sim/simpty.h"
#include "sim/simsettings.h"
#include "workbench/sidebar/enablebutton.h"
#include "workbench/sidebar/sendloop.h"
#include "workbench/sidebar/sidebar.h"
#include "workbench/sidebar/sidebarform.h"

namespace {

void setSetting(const QString& key, const QVariant& value) {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.") + key, value, true);
}

// Runs the event loop until done() holds or ms pass.
bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    // The tick bounds each sleep in the event loop; the loop itself never spins.
    QTimer tick;
    tick.start(2);
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A left click on the motion switch, as the user gives it.
void clickSwitch(QWidget* button) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(button, &press);
}

double percentile(QVector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[qMin(v.size() - 1, int(p * v.size()))];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int motors = argc > 1 ? qBound(1, atoi(argv[1]), 14) : 3;
    const int rounds = argc > 2 ? qMax(1, atoi(argv[2])) : 50;
    const int seconds = argc > 3 ? qMax(1, atoi(argv[3])) : 5;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());

    SimSettings settings;
    settings.motors = SimSettings::defaultMotors(motors);
    settings.logFile = dir.filePath(QStringLiteral("bench.log"));
    SimAdapter adapter(settings);
    adapter.openLog(settings.logFile);
    SimPty pty(&adapter, settings.pacing);
    QString error;
    if (!pty.plug(&error)) {
        fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }

    // When each motor reports brake mode (feedback with mode 3), on the shared clock.
    QElapsedTimer clock;
    clock.start();
    QHash<int, qint64> braked;
    QObject::connect(&adapter, &SimAdapter::bytesOut, [&](const QByteArray& bytes) {
        for (int at = bytes.indexOf("AT"); at >= 0; at = bytes.indexOf("AT", at + 1)) {
            CanFrame f;
            if (SerialRecord::toFrame(bytes.mid(at, 17), &f) && f.type() == CANCOM_MOTOR_FEEDBACK &&
                (f.dataField() >> 14) == 3 && !braked.contains(f.dataField() & 0xFF))
                braked.insert(f.dataField() & 0xFF, clock.nsecsElapsed());
        }
    });

    Helper* helper = Helper::instance();
    setSetting(QStringLiteral("upload_param_on_connected"), false);
    setSetting(QStringLiteral("enable_multiple_devices"), motors > 1);
    setSetting(QStringLiteral("record_write_raw_data"), false);
    helper->createBackends();
    Sidebar sidebar;
    sidebar.show();
    SidebarForm* f = sidebar.form();
    CANWorker* worker = helper->worker();
    worker->connectPort(pty.path());
    if (!waitFor(
            [&] {
                kx::DataObject* current = helper->currentDeviceDobj();
                return worker->registeredCanIds().size() >= motors && !current->isEmpty() &&
                       MotorStates::get(quint8(current->r(QStringLiteral("info.can_id"))->get().toInt()))
                           .modelKnown;
            },
            30000)) {
        fprintf(stderr, "the bench did not answer\n");
        return 1;
    }
    setSetting(QStringLiteral("enable_multiple_devices"), false);

    QVector<double> first, all, handler;
    for (int r = 0; r < rounds; ++r) {
        f->cmbControlMode->setCurrentIndex(0);
        clickSwitch(f->ebControl);
        waitFor([] { return false; }, 30);
        braked.clear();
        const qint64 t0 = clock.nsecsElapsed();
        f->btnEstop->click();
        handler << (clock.nsecsElapsed() - t0) / 1e6;
        if (!waitFor([&] { return braked.size() >= motors; }, 5000)) {
            fprintf(stderr, "round %d: %d of %d motors braked\n", r, braked.size(), motors);
            continue;
        }
        qint64 earliest = std::numeric_limits<qint64>::max(), latest = 0;
        for (qint64 t : braked) {
            earliest = qMin(earliest, t);
            latest = qMax(latest, t);
        }
        first << (earliest - t0) / 1e6;
        all << (latest - t0) / 1e6;
    }
    printf("E-stop click to brake mode on the bench, %d motor(s), %d rounds:\n", motors, first.size());
    printf("  first motor  median %.2f ms, 95th %.2f ms, max %.2f ms\n", percentile(first, 0.5),
           percentile(first, 0.95), percentile(first, 1));
    printf("  click handler median %.2f ms, max %.2f ms\n", percentile(handler, 0.5), percentile(handler, 1));
    printf("  every motor  median %.2f ms, 95th %.2f ms, max %.2f ms\n", percentile(all, 0.5),
           percentile(all, 0.95), percentile(all, 1));

    // Continuous MIT: count what the bench received over the run by its own log.
    clickSwitch(f->ebControl);
    waitFor([] { return false; }, 100);
    f->continuously[SidebarForm::PageMit]->setChecked(true);
    const int roundsBefore = sidebar.sendLoop()->rounds();
    QElapsedTimer run;
    run.start();
    f->start[SidebarForm::PageMit]->click();
    waitFor([] { return false; }, seconds * 1000);
    f->stop[SidebarForm::PageMit]->click();
    const double elapsed = run.elapsed() / 1000.0;
    const int sent = sidebar.sendLoop()->rounds() - roundsBefore;
    waitFor([] { return false; }, 200);
    int received = 0;
    QFile log(settings.logFile);
    if (log.open(QIODevice::ReadOnly)) {
        while (!log.atEnd()) {
            const QByteArray line = log.readLine();
            if (line.contains(" RX ") && line.contains("CANCOM_MOTOR_CTRL "))
                ++received;
        }
    }
    printf("Continuous MIT over %.1f s: %d rounds sent, %d frames received: %.1f frames/s\n", elapsed, sent,
           received, received / elapsed);
    worker->disconnectPort();
    helper->destroyBackends();
    return 0;
}
