// The oscilloscope page and its tools against the simulated bench: channels chosen, started
// from the tool strip, curves filled, exported, and the stream stopped when the page closes.
// With TRIVANE_SCOPE_SHOT set the page is saved as a picture while it streams.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

#define TRIVANE_SIM_PATH TRIVANE_BIN_DIR "/trivane-sim"

#include "app/apptest.h"
#include "app/filedialogs.h"
#include "chrome/chromestyle.h"
#include "link/canworker.h"
#include "link/linkstates.h"
#include "link/otathread.h"
#include "link/scope/scopeacquisition.h"
#include "link/simbench.h"
#include "scope/analyzetools.h"
#include "scope/channeldialog.h"
#include "scope/oscilloscopepage.h"
#include "scope/scopecontrol.h"
#include "scope/scopescreens.h"
#include "scope/wavedisplay.h"

class TstScopePage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void recordPauseExportAndStopOnClose();
    void unplugEndsTheStream();

private:
    linktest::SimBench m_sim;
};

void TstScopePage::initTestCase() {
    registerScopeScreens();
    QVERIFY(!m_sim.start({}).isEmpty());
}

void TstScopePage::cleanupTestCase() {
    Helper::instance()->destroyBackends();
}

void TstScopePage::recordPauseExportAndStopOnClose() {
    CaseEnvironment env;
    Helper* helper = Helper::instance();
    helper->createBackends();
    helper->worker()->connectPort(m_sim.path());
    auto connected = [] {
        for (kx::DataObject* d : kx::d(QStringLiteral("project.device"))->cdobjs()) {
            if (d->c(QStringLiteral("_connected"))->getBool(false))
                return d;
        }
        return static_cast<kx::DataObject*>(nullptr);
    };
    QTRY_VERIFY_WITH_TIMEOUT(connected(), 30000);
    kx::DataObject* device = connected();
    helper->setCurrentDeviceDobj(device);
    ScopeAcquisition* scope = ScopeControl::acquisition();
    QVERIFY(scope);

    // The channel list comes from the motor's description of its parameters.
    helper->worker()->link()->startStep(STEP_ASK_PARA_STR_INFO);
    QTRY_VERIFY_WITH_TIMEOUT(ScopeControl::choices(device).size() > 10, 20000);
    const QVector<ScopeChannelChoice> choices = ScopeControl::choices(device);
    auto typeOf = [&](const QString& name) {
        for (int k = 0; k < choices.size(); ++k) {
            if (choices[k].name == name)
                return k + 1;
        }
        return 0;
    };
    kx::DataObject* settings = ScopeControl::channelSettings(device);
    QCOMPARE(settings->size(), 8);
    settings->c(0)->set(nullptr, QStringLiteral("type"), typeOf(QStringLiteral("mechPos")), true);
    settings->c(3)->set(nullptr, QStringLiteral("type"), typeOf(QStringLiteral("VBUS")), true);
    settings->c(5)->set(nullptr, QStringLiteral("type"), typeOf(QStringLiteral("temperature")), true);
    kx::d(QStringLiteral("trigger.analyze.oscilloscope.legend"))->set(nullptr, true);

    if (!qEnvironmentVariableIsEmpty("TRIVANE_SCOPE_SHOT")) {
        // The picture shows the page as the workbench styles it.
        ChromeStyle::initResources();
        ChromeStyle::apply(qApp, ChromeStyle::Dark);
    }
    QWidget window;
    window.resize(1200, 700);
    auto* layout = new QVBoxLayout(&window);
    auto* tools = new AnalyzeTools(&window);
    auto* page = new OscilloscopePage(&window);
    layout->addWidget(tools);
    layout->addWidget(page, 1);
    helper->setEditDevice(device, QLatin1String(OscilloscopePage::kKind));
    QVERIFY(tools->findChild<QSpinBox*>(QStringLiteral("spnF"))->isEnabled());
    window.show();

    // A waveform file is written while the page plots.
    const QString wave = env.path(QStringLiteral("wave.txt"));
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return wave; });
    tools->findChild<QCheckBox*>(QStringLiteral("chbSave"))->setChecked(true);
    QCOMPARE(tools->findChild<QCheckBox*>(QStringLiteral("chbSave"))->text(),
             QStringLiteral("Output waveform: wave"));
    tools->findChild<QSpinBox*>(QStringLiteral("spnF"))->setValue(200);
    QSignalSpy announced(device->r(QStringLiteral("_trigger.oscilloscope.config_channel")),
                         &kx::DataObject::changed);
    tools->findChild<QPushButton*>(QStringLiteral("btnStart"))->click();

    // Start configures, then streams without a further click.
    QTRY_VERIFY_WITH_TIMEOUT(scope->running(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(page->plot()->history().size() >= 300, 20000);
    QCOMPARE(page->plot()->activeGraphs(), (QVector<int>{0, 3, 5}));
    QCOMPARE(announced.count(), 1);
    QVERIFY(page->plot()->graph(3)->visible());
    QVERIFY(!page->plot()->graph(1)->visible());
    QCOMPARE(page->plot()->graph(3)->name(), QStringLiteral("VBUS"));
    QTRY_VERIFY(
        page->findChild<QLabel*>(QStringLiteral("lblCounts"))->text().endsWith(QStringLiteral("Lost: 0")));

    // The sample stream writes nothing into the data tree.
    QSignalSpy treeWrites(kx::d(QStringLiteral("_recv_can_id")), &kx::DataObject::changed);
    const int streamed = page->plot()->history().size();
    QTRY_VERIFY(page->plot()->history().size() > streamed + 200);
    QCOMPARE(treeWrites.count(), 0);

    // Pause keeps recording; the cursor readout names every channel.
    auto* pause = page->findChild<QPushButton*>(QStringLiteral("btnPause"));
    pause->click();
    const int before = page->plot()->history().size();
    const double frozen = (page->plot()->graph(0)->data()->constEnd() - 1)->key;
    QTRY_VERIFY(page->plot()->history().size() > before + 50);
    QCOMPARE((page->plot()->graph(0)->data()->constEnd() - 1)->key, frozen);
    const QString readout = page->plot()->readoutAt(frozen);
    QVERIFY2(readout.contains(QStringLiteral("VBUS: ")) && readout.contains(QStringLiteral("temperature: ")),
             qPrintable(readout));

    if (!qEnvironmentVariableIsEmpty("TRIVANE_SCOPE_SHOT")) {
        pause->click();
        // The readout as the mouse would leave it, at the middle of the curves.
        const QRect area = page->plot()->axisRect()->rect();
        QTest::mouseMove(page->plot(), area.center());
        ChannelDialog* dialog = ChannelDialog::open(device, &window);
        QTest::qWait(1500);  // a picture for people to look at, not a condition to wait for
        window.grab().save(qEnvironmentVariable("TRIVANE_SCOPE_SHOT"));
        dialog->grab().save(qEnvironmentVariable("TRIVANE_SCOPE_SHOT") + QStringLiteral(".dialog.png"));
        dialog->close();
    }

    // Export CSV of the history in memory.
    const QString csv = env.path(QStringLiteral("export.csv"));
    FileDialogs::setChooser([&](FileDialogs::Mode, const QString&, const QString&) { return csv; });
    page->findChild<QPushButton*>(QStringLiteral("btnExport"))->click();
    FileDialogs::setChooser(nullptr);
    QFile exported(csv);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    QCOMPARE(exported.readLine(), QByteArray("time,mechPos,VBUS,temperature\r\n"));

    // Closing the page stops the stream, and the waveform file is complete.
    delete page;
    QTRY_VERIFY_WITH_TIMEOUT(!scope->running(), 5000);
    QTRY_VERIFY(!scope->waveFile().isOpen());
    QFile file(wave);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(lines.size() > 300);
    QCOMPARE(lines[0].size(), 14 + 12 + 12 + 7 + 1);  // time, two floats, an int16, CR
    helper->worker()->disconnectPort();
}

void TstScopePage::unplugEndsTheStream() {
    CaseEnvironment env;
    Helper* helper = Helper::instance();
    helper->worker()->connectPort(m_sim.path());
    auto connected = [] {
        for (kx::DataObject* d : kx::d(QStringLiteral("project.device"))->cdobjs()) {
            if (d->c(QStringLiteral("_connected"))->getBool(false))
                return d;
        }
        return static_cast<kx::DataObject*>(nullptr);
    };
    QTRY_VERIFY_WITH_TIMEOUT(connected(), 30000);
    kx::DataObject* device = connected();
    QTRY_VERIFY_WITH_TIMEOUT(!ScopeControl::choices(device).isEmpty(), 20000);
    ScopeControl::channelSettings(device)->c(0)->set(nullptr, QStringLiteral("type"), 1, true);
    ScopeAcquisition* scope = ScopeControl::acquisition();
    QVERIFY(ScopeControl::instance()->start(device, 100, QString()));
    QTRY_VERIFY_WITH_TIMEOUT(scope->records() > 50, 10000);

    // The adapter goes away mid-stream: the stop request does not repeat forever.
    m_sim.command("unplug");
    QTRY_VERIFY_WITH_TIMEOUT(!helper->worker()->isConnected(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!scope->running(), 5000);
    kx::d(QStringLiteral("trigger.analyze.oscilloscope.stop"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(helper->worker()->link()->step(), int(STEP_STOP), 5000);
    m_sim.command("plug");
}

TRIVANE_GUI_TEST_MAIN(TstScopePage)
#include "tst_scopepage.moc"
