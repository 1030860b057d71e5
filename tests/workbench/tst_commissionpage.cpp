// The Commission page in the real window against the simulated bench: opened from the Device
// tab's strip, a plan chosen and started, each motor's steps followed with their values while
// they run, the result shown and the report opened at the end; the emergency stop (Esc, as the
// platform delivers it) and closing the window end a run with the motors left in reset mode.
//
// With TRIVANE_COMMISSION_SHOTS=DIR the passing run is also pictured into DIR, during the run
// and at its end, in the language TRIVANE_COMMISSION_LANG (default en).
#include "tests/app/apptest.h"
#include "tests/workbench/motionbench.h"
#include "tests/commission/simmodes.h"

#include "app/editor/editor.h"
#include "app/filedialogs.h"
#include "app/shell/mainwindow.h"
#include "commission/commissionrunner.h"
#include "link/flows/linklease.h"
#include "workbench/commission/commissionjob.h"
#include "workbench/commission/commissionpage.h"
#include "workbench/workbenchscreens.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <csignal>

// Key events the way the platform hands them in: queued as window-system events, so an event
// loop that holds user input back would hold these too. The declaration matches Qt's own.
class QWindowSystemInterface {
public:
    struct DefaultDelivery;
    template <typename Delivery>
    static bool handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                               const QString& text, bool autorepeat, ushort count);
};

using namespace motiontest;

class TestCommissionPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void runPassesAndOpensTheReport();
    void escapeEndsTheRunSafely();
    void closingTheWindowWaitsForTheMotors();
    void closingThePageEndsTheRunSafely();
    void terminationWaitsForTheMotors();

private:
    // The window connected to the bench, the page opened from the strip.
    bool openPage(int motors, const QStringList& benchOptions = {});
    QString writePlan(const QByteArray& yaml);
    QTreeWidgetItem* stepItem(int motor, int step) const;
    void shoot(const QString& name);

    std::unique_ptr<CaseEnvironment> m_env;
    std::unique_ptr<linktest::SimBench> m_sim;
    std::unique_ptr<Startup> m_startup;
    CommissionPage* m_page = nullptr;
    QList<QUrl> m_opened;
    int m_motors = 1;
};

namespace {

const QByteArray kLongSpin =
    "name: Long spin\n"
    "steps:\n"
    "  - step: detect\n"
    "  - step: move\n"
    "    name: Spin\n"
    "    mode: velocity\n"
    "    target: 2\n"
    "    settle: 8 s\n"
    "  - step: zero\n";

}  // namespace

void TestCommissionPage::init() {
    m_env = std::make_unique<CaseEnvironment>();
    m_opened.clear();
    CommissionPage::setOpener([this](const QUrl& url) { m_opened << url; });
}

void TestCommissionPage::cleanup() {
    if (m_startup) {
        if (m_startup->mainWindow())
            m_startup->mainWindow()->close();
        m_startup->shutdown();
    }
    m_startup.reset();
    m_sim.reset();
    m_page = nullptr;
    CommissionPage::setOpener(nullptr);
    m_env.reset();
}

bool TestCommissionPage::openPage(int motors, const QStringList& benchOptions) {
    registerWorkbenchScreens();
    m_motors = motors;
    m_sim = std::make_unique<linktest::SimBench>();
    if (m_sim->start(QStringList{"--motors", QString::number(motors)} + benchOptions).isEmpty())
        return false;
    const QString language = qEnvironmentVariable("TRIVANE_COMMISSION_LANG", QStringLiteral("en"));
    QFile::link(QStringLiteral(TRIVANE_BIN_DIR "/i18n"), m_env->path("i18n"));
    kx::DataObject* config = kx::d(QStringLiteral("config"));
    config->set(nullptr, QStringLiteral("language"), language, true);
    config->set(nullptr, QStringLiteral("last_com"), m_sim->path(), true);
    setConfig(QStringLiteral("auto_connect"), true);
    setConfig(QStringLiteral("load_last_project"), false);
    setConfig(QStringLiteral("upload_param_on_connected"), false);
    setConfig(QStringLiteral("enable_multiple_devices"), true);
    m_startup = std::make_unique<Startup>();
    m_startup->start();
    Helper::instance()->setPrompt(&m_env->prompt);
    m_env->prompt.answer = true;
    m_startup->mainWindow()->resize(1280, 800);
    CANWorker* worker = Helper::instance()->worker();
    if (!QTest::qWaitFor([&] { return worker->registeredCanIds().size() == motors; }, 30000))
        return false;
    auto* button = m_startup->mainWindow()->findChild<QPushButton*>(QStringLiteral("btnCommission"));
    if (!button)
        return false;
    button->click();
    m_page = m_startup->mainWindow()->findChild<CommissionPage*>();
    return m_page != nullptr;
}

QString TestCommissionPage::writePlan(const QByteArray& yaml) {
    const QString path = m_env->path(QStringLiteral("plan.yaml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(yaml) != yaml.size())
        return QString();
    return path;
}

QTreeWidgetItem* TestCommissionPage::stepItem(int motor, int step) const {
    QTreeWidgetItem* motorItem = m_page->stepTree()->topLevelItem(motor);
    return motorItem && step >= 1 && step <= motorItem->childCount() ? motorItem->child(step - 1) : nullptr;
}

void TestCommissionPage::shoot(const QString& name) {
    const QString dir = qEnvironmentVariable("TRIVANE_COMMISSION_SHOTS");
    if (dir.isEmpty())
        return;
    const QString language = qEnvironmentVariable("TRIVANE_COMMISSION_LANG", QStringLiteral("en"));
    QDir().mkpath(dir);
    m_startup->mainWindow()->grab().save(QStringLiteral("%1/commission-%2-%3.png").arg(dir, name, language));
}

void TestCommissionPage::runPassesAndOpensTheReport() {
    QVERIFY(openPage(2, {"--cali-time", "1500"}));
    // The page lists the motors the window knows.
    QTRY_COMPARE_WITH_TIMEOUT(m_page->motorList()->count(), 2, 10000);
    QVERIFY(m_page->motorList()->item(0)->text().contains("3a10c5e700001001"));

    // Chosen through the shell's file dialog.
    const QString plan = writePlan(
        "name: Page check\n"
        "steps:\n"
        "  - step: detect\n"
        "    motors: 2\n"
        "  - step: prompt\n"
        "    text: Shafts free?\n"
        "  - step: calibrate\n"
        "    all_motors: true\n"
        "  - step: move\n"
        "    name: Half turn\n"
        "    mode: position\n"
        "    target: 3.1416\n"
        "    speed: 4\n"
        "    settle: 2 s\n"
        "    check:\n"
        "      position: {tolerance: 0.05}\n"
        "  - step: estop\n"
        "    within: 200 ms\n");
    // The first dialog opens on the example plans beside the program, the next where the
    // last plan came from.
    QVERIFY(QDir().mkpath(m_env->path(QStringLiteral("examples"))));
    QStringList starts;
    FileDialogs::setFilterChooser([&](FileDialogs::Mode, const QString&, const QString& filter,
                                      const QString& start, QString*) {
        starts << start;
        return filter.contains("*.yaml") ? plan : QString();
    });
    m_page->findChild<QPushButton*>("btnChoosePlan")->click();
    m_page->findChild<QPushButton*>("btnChoosePlan")->click();
    FileDialogs::setFilterChooser(nullptr);
    QCOMPARE(starts, QStringList({"examples", QFileInfo(plan).absolutePath()}));
    auto* start = m_page->findChild<QPushButton*>("btnStart");
    QVERIFY(start->isEnabled());

    // While the first motor settles, its row shows the values coming in.
    QStringList seenWhileRunning;
    bool runningBadge = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        QTreeWidgetItem* move = stepItem(0, 4);
        if (!move || move->data(1, Qt::UserRole).toString() != "RUNNING" || move->text(2).isEmpty())
            return;
        runningBadge = true;
        if (seenWhileRunning.isEmpty())
            shoot("running");
        if (!seenWhileRunning.contains(move->text(2)))
            seenWhileRunning << move->text(2);
    });
    watch.start(50);
    start->click();
    QVERIFY(m_page->isRunning());
    QVERIFY(!start->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->isRunning(), 120000);
    watch.stop();

    QCOMPARE(m_page->resultLabel()->property("outcome").toString(), QString("PASS"));
    QVERIFY(runningBadge);
    QVERIFY2(seenWhileRunning.size() > 2, qPrintable(seenWhileRunning.join(" | ")));
    QVERIFY(seenWhileRunning.first().contains(" rad"));
    for (int motor = 0; motor < 2; ++motor) {
        QCOMPARE(m_page->stepTree()->topLevelItem(motor)->data(1, Qt::UserRole).toString(), QString("PASS"));
        QVERIFY(stepItem(motor, 4)->text(2).contains("3.14"));
        QCOMPARE(stepItem(motor, 4)->data(1, Qt::UserRole).toString(), QString("PASS"));
    }
    // The operator was asked once per motor.
    int asked = 0;
    for (const PromptCall& call : m_env->prompt.calls)
        asked += call.text == "Shafts free?" ? 1 : 0;
    QCOMPARE(asked, 2);
    // Two motors: the folder with both reports is opened.
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened.first().toLocalFile(), m_page->reportFolder());
    QVERIFY(QFile::exists(m_page->reportFolder() + "/report.json"));
    QVERIFY(m_page->findChild<QPushButton*>("btnStart")->isEnabled());
    shoot("done");
    const QMap<int, QString> modes = commissiontest::simModes(*m_sim, 2);
    QCOMPARE(modes.value(1), QString("reset"));
    QCOMPARE(modes.value(2), QString("reset"));
}

void TestCommissionPage::escapeEndsTheRunSafely() {
    QVERIFY(openPage(1));
    QVERIFY(m_page->loadPlan(writePlan(kLongSpin)));
    QVERIFY(m_page->start());
    CommissionRunner* runner = CommissionJob::current()->runner();
    bool pressed = false;
    connect(runner, &CommissionRunner::stepStarted, this, [&](int, const PlanStep& step) {
        if (step.kind != "move")
            return;
        QTimer::singleShot(800, this, [&] {
            QWindow* window = m_startup->mainWindow()->windowHandle();
            QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::DefaultDelivery>(
                window, QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), false, 1);
            QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::DefaultDelivery>(
                window, QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, QString(), false, 1);
            pressed = true;
        });
    });
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->isRunning(), 60000);
    QVERIFY(pressed);
    QCOMPARE(m_page->resultLabel()->property("outcome").toString(), QString("ERROR"));
    QCOMPARE(stepItem(0, 2)->data(1, Qt::UserRole).toString(), QString("ERROR"));
    QCOMPARE(stepItem(0, 3)->data(1, Qt::UserRole).toString(), QString("SKIPPED"));
    QVERIFY2(m_page->findChild<QLabel*>("lblCommissionStatus")->text().contains("emergency stop"),
             qPrintable(m_page->findChild<QLabel*>("lblCommissionStatus")->text()));
    QVERIFY(!LinkLease::busy());
    QCOMPARE(commissiontest::simModes(*m_sim, 1).value(1), QString("reset"));
}

void TestCommissionPage::closingTheWindowWaitsForTheMotors() {
    QVERIFY(openPage(1));
    QVERIFY(m_page->loadPlan(writePlan(kLongSpin)));
    QVERIFY(m_page->start());
    MainWindow* window = m_startup->mainWindow();
    CommissionRunner* runner = CommissionJob::current()->runner();
    bool stillOpen = false;
    connect(runner, &CommissionRunner::stepStarted, this, [&](int, const PlanStep& step) {
        if (step.kind == "move")
            QTimer::singleShot(800, this, [&] {
                window->close();
                stillOpen = window->isVisible();
            });
    });
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 60000);
    // The close waited for the run to leave the motor safe.
    QVERIFY(stillOpen);
    QCOMPARE(commissiontest::simModes(*m_sim, 1).value(1), QString("reset"));
    const QStringList folders = QDir(m_env->path("reports")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders.size(), 1);
    QFile report(m_env->path("reports/" + folders.first() + "/report.json"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(report.readAll().contains("The window was closed."));
}

void TestCommissionPage::closingThePageEndsTheRunSafely() {
    QVERIFY(openPage(1));
    QVERIFY(m_page->loadPlan(writePlan(kLongSpin)));
    QVERIFY(m_page->start());
    QPointer<CommissionJob> job = CommissionJob::current();
    Editor* editor = m_startup->mainWindow()->editor();
    connect(job->runner(), &CommissionRunner::stepStarted, this, [&](int, const PlanStep& step) {
        if (step.kind == "move")
            QTimer::singleShot(800, this,
                               [&] { editor->closePage(editor->findPage(CommissionPage::kind(), nullptr)); });
    });
    // The page goes at once; the run ends by itself and writes what was done.
    QTRY_VERIFY_WITH_TIMEOUT(!job, 60000);
    QVERIFY(!m_startup->mainWindow()->findChild<CommissionPage*>());
    QVERIFY(m_startup->mainWindow()->isVisible());
    QCOMPARE(commissiontest::simModes(*m_sim, 1).value(1), QString("reset"));
    QCOMPARE(QDir(m_env->path("reports")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    QVERIFY(!LinkLease::busy());
}

void TestCommissionPage::terminationWaitsForTheMotors() {
    QVERIFY(openPage(1));
    QVERIFY(m_page->loadPlan(writePlan(kLongSpin)));
    QVERIFY(m_page->start());
    CommissionRunner* runner = CommissionJob::current()->runner();
    connect(runner, &CommissionRunner::stepStarted, this, [](int, const PlanStep& step) {
        if (step.kind == "move")
            QTimer::singleShot(800, [] { ::raise(SIGTERM); });
    });
    // The program ends once the run has left the motor safe.
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_startup->mainWindow()->isVisible());
    QCOMPARE(commissiontest::simModes(*m_sim, 1).value(1), QString("reset"));
    QCOMPARE(QDir(m_env->path("reports")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
}

TRIVANE_GUI_TEST_MAIN(TestCommissionPage)
#include "tst_commissionpage.moc"
