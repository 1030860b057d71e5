#include "workbench/commission/commissionpage.h"

#include "app/filedialogs.h"
#include "commission/commissionrunner.h"
#include "commission/plan/planreader.h"
#include "commission/reporttext.h"
#include "framework/core/loginname.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/detectflow.h"
#include "link/helper.h"
#include "link/motionguard.h"
#include "link/motorstates.h"
#include "workbench/commission/commissionjob.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QSysInfo>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColStep, ColResult, ColValues, ColNote };
const QString kRunning = QStringLiteral("RUNNING");

CommissionPage::Opener& opener() {
    static CommissionPage::Opener open = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return open;
}

QString config(const QString& key, const QString& fallback = QString()) {
    const QString value = kx::d(QStringLiteral("config.commission.") + key)->getString();
    return value.isEmpty() ? fallback : value;
}

void setConfig(const QString& key, const QString& value) {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.commission.") + key, value, true);
}

// Badge colours: the same meaning in every theme.
QColor outcomeColor(const QString& outcome) {
    if (outcome == QLatin1String("PASS"))
        return QColor(0x2e, 0x7d, 0x32);
    if (outcome == QLatin1String("MARGINAL"))
        return QColor(0xb2, 0x7b, 0x00);
    if (outcome == QLatin1String("FAIL"))
        return QColor(0xc6, 0x28, 0x28);
    if (outcome == QLatin1String("ERROR"))
        return QColor(0x8e, 0x24, 0xaa);
    if (outcome == QLatin1String("SKIPPED"))
        return QColor(0x61, 0x61, 0x61);
    return QColor(0x15, 0x65, 0xc0);  // running
}

// A value a flow reports while it runs: the feedback quantities with their units.
QString liveValue(const QString& key, const QVariant& value) {
    const QString name = CommissionPage::quantityName(key);
    static const QHash<QString, QString> units{{QStringLiteral("position"), QStringLiteral("rad")},
                                               {QStringLiteral("velocity"), QStringLiteral("rad/s")},
                                               {QStringLiteral("torque"), QStringLiteral("Nm")}};
    bool numeric = false;
    const double v = value.toDouble(&numeric);
    if (!numeric)
        return QStringLiteral("%1 %2").arg(name, value.toString());
    if (units.contains(key))
        return QStringLiteral("%1 %2 %3").arg(name).arg(v, 0, 'f', 3).arg(units.value(key));
    return QStringLiteral("%1 %2").arg(name).arg(v, 0, 'g', 4);
}

}  // namespace

void CommissionPage::setOpener(Opener open) {
    opener() = open ? std::move(open) : [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

CommissionPage::CommissionPage(QWidget* parent) : QWidget(parent), BaseEditorPage(kind(), false) {
    buildUi();
    if (CANWorker* worker = Helper::instance()->worker()) {
        connect(worker, &CANWorker::deviceChanged, this, &CommissionPage::refreshMotors);
        connect(worker, &CANWorker::connectionChanged, this, &CommissionPage::refreshMotors);
    }
    refreshMotors();
    // A run started from a page closed since is still leaving its motors safe: Start waits.
    if (CommissionJob* running = CommissionJob::current())
        connect(running, &CommissionJob::finished, this, &CommissionPage::updateButtons);
    const QString last = config(QStringLiteral("plan"));
    if (!last.isEmpty() && QFileInfo::exists(last))
        loadPlan(last);
    updateButtons();
}

CommissionPage::~CommissionPage() {
    // The run goes on without the page only long enough to leave the motors safe.
    if (m_job && m_job->isRunning())
        m_job->cancel(tr("The commissioning page was closed."));
}

void CommissionPage::buildUi() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    auto* planRow = new QHBoxLayout;
    planRow->addWidget(new QLabel(tr("Plan"), this));
    m_planPath = new QLineEdit(this);
    m_planPath->setObjectName(QStringLiteral("edtPlan"));
    m_planPath->setReadOnly(true);
    m_planPath->setPlaceholderText(tr("Choose a commissioning plan (YAML)"));
    planRow->addWidget(m_planPath, 1);
    auto* choose = new QPushButton(tr("Choose..."), this);
    choose->setObjectName(QStringLiteral("btnChoosePlan"));
    connect(choose, &QPushButton::clicked, this, &CommissionPage::choosePlan);
    planRow->addWidget(choose);
    layout->addLayout(planRow);

    m_planInfo = new QLabel(this);
    m_planInfo->setObjectName(QStringLiteral("lblPlanInfo"));
    m_planInfo->setWordWrap(true);
    layout->addWidget(m_planInfo);
    m_problems = new QPlainTextEdit(this);
    m_problems->setObjectName(QStringLiteral("txtPlanProblems"));
    m_problems->setReadOnly(true);
    m_problems->setMaximumHeight(90);
    m_problems->hide();
    layout->addWidget(m_problems);

    // Two columns of settings: the page often shares the window with the sidebar.
    auto* settings = new QGridLayout;
    settings->setHorizontalSpacing(8);
    settings->addWidget(new QLabel(tr("Motors"), this), 0, 0);
    auto* scopeRow = new QHBoxLayout;
    m_scope = new QComboBox(this);
    m_scope->setObjectName(QStringLiteral("cmbScope"));
    m_scope->addItem(tr("Every motor on the bus"), int(CommissionRunner::Scope::AllMotors));
    m_scope->addItem(tr("One motor, CAN ID:"), int(CommissionRunner::Scope::OneCanId));
    int widest = 0;
    for (int i = 0; i < m_scope->count(); ++i)
        widest = qMax(widest, m_scope->fontMetrics().horizontalAdvance(m_scope->itemText(i)));
    m_scope->setMinimumWidth(widest + 40);
    scopeRow->addWidget(m_scope);
    m_canId = new QSpinBox(this);
    m_canId->setObjectName(QStringLiteral("spnCanId"));
    m_canId->setRange(1, 127);
    m_canId->setEnabled(false);
    scopeRow->addWidget(m_canId);
    scopeRow->addStretch(1);
    settings->addLayout(scopeRow, 0, 1);
    connect(m_scope, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { m_canId->setEnabled(index == 1); });
    settings->addWidget(new QLabel(tr("Reports in"), this), 1, 0);
    m_reportDir = new QLineEdit(config(QStringLiteral("report_dir"), QStringLiteral("reports")), this);
    m_reportDir->setObjectName(QStringLiteral("edtReportDir"));
    settings->addWidget(m_reportDir, 1, 1);
    settings->addWidget(new QLabel(tr("Operator"), this), 0, 2);
    m_operator = new QLineEdit(config(QStringLiteral("operator"), kx::loginName()), this);
    m_operator->setObjectName(QStringLiteral("edtOperator"));
    settings->addWidget(m_operator, 0, 3);
    settings->addWidget(new QLabel(tr("Station"), this), 1, 2);
    m_station = new QLineEdit(config(QStringLiteral("station"), QSysInfo::machineHostName()), this);
    m_station->setObjectName(QStringLiteral("edtStation"));
    settings->addWidget(m_station, 1, 3);
    settings->setColumnStretch(1, 1);
    settings->setColumnStretch(3, 1);
    layout->addLayout(settings);

    auto* actions = new QHBoxLayout;
    m_start = new QPushButton(QIcon(QStringLiteral(":/images/motor/start.png")), tr("Start"), this);
    m_start->setObjectName(QStringLiteral("btnStart"));
    connect(m_start, &QPushButton::clicked, this, &CommissionPage::start);
    actions->addWidget(m_start);
    m_cancel = new QPushButton(QIcon(QStringLiteral(":/images/motor/stop.png")), tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_cancel, &QPushButton::clicked, this, &CommissionPage::cancel);
    actions->addWidget(m_cancel);
    m_estop =
        new QPushButton(QIcon(QStringLiteral(":/images/motor/estop2.png")), tr("Emergency stop (Esc)"), this);
    m_estop->setObjectName(QStringLiteral("btnCommissionEstop"));
    m_estop->setStyleSheet(QStringLiteral("background:#fef000;color:black;"));
    m_estop->setToolTip(tr("Brake every connected motor; the run ends and leaves its motors in reset mode."));
    connect(m_estop, &QPushButton::clicked, this, [] {
        if (MotionGuard* guard = MotionGuard::of(Helper::instance()->worker()))
            guard->brake(MotionGuard::connectedCanIds());
    });
    actions->addWidget(m_estop);
    actions->addStretch(1);
    m_openReport = new QPushButton(tr("Open report"), this);
    m_openReport->setObjectName(QStringLiteral("btnOpenReport"));
    m_openReport->setEnabled(false);
    connect(m_openReport, &QPushButton::clicked, this, [this] {
        opener()(QUrl::fromLocalFile(m_reportFile.isEmpty() ? m_reportFolder : m_reportFile));
    });
    actions->addWidget(m_openReport);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("lblResult"));
    m_result->setAlignment(Qt::AlignCenter);
    QFont big = m_result->font();
    big.setPointSizeF(big.pointSizeF() * 2.6);
    big.setBold(true);
    m_result->setFont(big);
    m_result->setMinimumWidth(m_result->fontMetrics().horizontalAdvance(QStringLiteral("MARGINAL")) + 40);
    actions->addWidget(m_result);
    layout->addLayout(actions);

    // The motors above their steps: both keep the page's whole width.
    auto* split = new QSplitter(Qt::Vertical, this);
    auto* motorsBox = new QWidget(split);
    auto* motorsLayout = new QVBoxLayout(motorsBox);
    motorsLayout->setContentsMargins(0, 0, 0, 0);
    motorsLayout->setSpacing(2);
    motorsLayout->addWidget(new QLabel(tr("Motors on the bus"), motorsBox));
    m_motors = new QListWidget(motorsBox);
    m_motors->setObjectName(QStringLiteral("lstMotors"));
    m_motors->setFlow(QListView::LeftToRight);
    m_motors->setWrapping(true);
    m_motors->setSpacing(2);
    motorsLayout->addWidget(m_motors);
    m_steps = new QTreeWidget(split);
    m_steps->setObjectName(QStringLiteral("trSteps"));
    m_steps->setHeaderLabels({tr("Step"), tr("Result"), tr("Measured"), tr("Note")});
    m_steps->setRootIsDecorated(true);
    m_steps->setUniformRowHeights(true);
    m_steps->header()->setStretchLastSection(true);
    m_steps->setColumnWidth(ColStep, 180);
    m_steps->setColumnWidth(ColResult, 90);
    m_steps->setColumnWidth(ColValues, 300);
    split->addWidget(motorsBox);
    split->addWidget(m_steps);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({60, 400});
    layout->addWidget(split, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblCommissionStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);
}

bool CommissionPage::isRunning() const {
    return m_job && m_job->isRunning();
}

void CommissionPage::choosePlan() {
    // Where the last plan came from; the first time, the example plans shipped beside the program.
    QString start = QFileInfo(config(QStringLiteral("plan"))).absolutePath();
    if (config(QStringLiteral("plan")).isEmpty() || !QFileInfo(start).isDir())
        start = QFileInfo(QStringLiteral("examples")).isDir() ? QStringLiteral("examples") : QStringLiteral(".");
    const QString path = FileDialogs::openFileName(this, tr("Open a commissioning plan"),
                                                   tr("Commissioning plans (*.yaml *.yml)"), start);
    if (!path.isEmpty())
        loadPlan(path);
}

bool CommissionPage::loadPlan(const QString& path) {
    m_planPath->setText(QDir::toNativeSeparators(path));
    QVector<PlanProblem> problems;
    m_plan = PlanReader::readFile(path, &problems);
    QStringList lines;
    for (const PlanProblem& p : problems)
        lines << p.text();
    m_problems->setPlainText(lines.join(QLatin1Char('\n')));
    m_problems->setVisible(!lines.isEmpty());
    if (m_plan) {
        setConfig(QStringLiteral("plan"), QFileInfo(path).absoluteFilePath());
        QString info = tr("%1: %n step(s)", nullptr, m_plan->steps.size()).arg(m_plan->name);
        if (!m_plan->description.isEmpty())
            info += QStringLiteral(" - ") + m_plan->description;
        m_planInfo->setText(info);
    } else {
        m_planInfo->setText(tr("The plan cannot run: %n problem(s).", nullptr, lines.size()));
    }
    updateButtons();
    return bool(m_plan);
}

void CommissionPage::refreshMotors() {
    m_motors->clear();
    CANWorker* worker = Helper::instance()->worker();
    if (!worker || !worker->isConnected()) {
        m_motors->addItem(tr("Not connected: connect the adapter on the Device tab."));
    } else {
        for (kx::DataObject* device : DetectFlow::connectedDevices()) {
            const quint8 canId = MotionGuard::canIdOf(device);
            const MotorState state = MotorStates::get(canId);
            QString text =
                tr("Motor %1  MCU %2").arg(canId).arg(ReportText::mcuId(MotionGuard::mcuIdOf(device)));
            if (state.modelKnown)
                text += QStringLiteral("  ") + tr("model %1").arg(state.modelCode);
            m_motors->addItem(text);
        }
        if (m_motors->count() == 0)
            m_motors->addItem(tr("No motor detected yet: the run scans the bus."));
    }
    updateButtons();
}

void CommissionPage::updateButtons() {
    const bool running = isRunning();
    CANWorker* worker = Helper::instance()->worker();
    const bool connected = worker && worker->isConnected();
    m_start->setEnabled(!running && m_plan && connected && !CommissionJob::current());
    m_cancel->setEnabled(running);
    for (QWidget* w : QList<QWidget*>{m_scope, m_operator, m_station, m_reportDir})
        w->setEnabled(!running);
    m_canId->setEnabled(!running && m_scope->currentIndex() == 1);
    findChild<QPushButton*>(QStringLiteral("btnChoosePlan"))->setEnabled(!running);
}

bool CommissionPage::start() {
    if (isRunning() || CommissionJob::current()) {
        m_status->setText(tr("A commissioning run is already going on."));
        return false;
    }
    if (!m_plan) {
        m_status->setText(tr("Choose a plan that can run first."));
        return false;
    }
    CANWorker* worker = Helper::instance()->worker();
    if (!worker || !worker->isConnected()) {
        m_status->setText(tr("Connect the adapter first (Device tab, Connect)."));
        return false;
    }
    CommissionJob::Settings settings;
    settings.runner.scope = CommissionRunner::Scope(m_scope->currentData().toInt());
    settings.runner.canId = m_canId->value();
    settings.runner.operatorName = m_operator->text().trimmed();
    settings.runner.station = m_station->text().trimmed();
    settings.runner.toolVersion = QCoreApplication::applicationVersion();
    settings.reportDir =
        m_reportDir->text().trimmed().isEmpty() ? QStringLiteral("reports") : m_reportDir->text().trimmed();
    setConfig(QStringLiteral("operator"), settings.runner.operatorName);
    setConfig(QStringLiteral("station"), settings.runner.station);
    setConfig(QStringLiteral("report_dir"), settings.reportDir);

    m_steps->clear();
    m_motorItems.clear();
    m_reportFolder.clear();
    m_reportFile.clear();
    m_openReport->setEnabled(false);
    showResult(outcomeText(kRunning), kRunning);
    m_status->setText(tr("Detecting the motors..."));

    auto* job = new CommissionJob(*m_plan, settings, window());
    m_job = job;
    CommissionRunner* runner = job->runner();
    connect(runner, &CommissionRunner::motorsFound, this, &CommissionPage::onMotorsFound);
    connect(runner, &CommissionRunner::stepStarted, this, &CommissionPage::onStepStarted);
    connect(runner, &CommissionRunner::stepProgress, this, &CommissionPage::onStepProgress);
    connect(runner, &CommissionRunner::stepFinished, this, &CommissionPage::onStepFinished);
    connect(runner, &CommissionRunner::motorFinished, this, &CommissionPage::onMotorFinished);
    connect(runner, &CommissionRunner::notice, m_status, &QLabel::setText);
    connect(job, &CommissionJob::finished, this, &CommissionPage::onFinished);
    job->start();
    updateButtons();
    return true;
}

void CommissionPage::cancel() {
    if (isRunning())
        m_job->cancel(tr("Cancelled by the operator."));
}

void CommissionPage::showResult(const QString& text, const QString& outcome) {
    m_result->setText(text);
    // The outcome in the record's own words, whatever the language shown.
    m_result->setProperty("outcome", outcome);
    m_result->setStyleSheet(QStringLiteral("background:%1;color:white;border-radius:4px;padding:4px 16px;")
                                .arg(outcomeColor(outcome).name()));
}

QString CommissionPage::quantityName(const QString& name) {
    if (name == QLatin1String("position"))
        return tr("position");
    if (name == QLatin1String("velocity"))
        return tr("velocity");
    if (name == QLatin1String("torque"))
        return tr("torque");
    return name;
}

QString CommissionPage::stepTitle(const PlanStep& step) {
    // A step the plan did not name is called by its kind, in the operator's language.
    if (step.title != step.kind)
        return step.title;
    static const QHash<QString, const char*> kinds{{QStringLiteral("detect"), QT_TR_NOOP("detect")},
                                                   {QStringLiteral("identify"), QT_TR_NOOP("identify")},
                                                   {QStringLiteral("set-can-id"), QT_TR_NOOP("set CAN ID")},
                                                   {QStringLiteral("flash"), QT_TR_NOOP("flash")},
                                                   {QStringLiteral("params"), QT_TR_NOOP("parameters")},
                                                   {QStringLiteral("zero"), QT_TR_NOOP("zero")},
                                                   {QStringLiteral("calibrate"), QT_TR_NOOP("calibrate")},
                                                   {QStringLiteral("move"), QT_TR_NOOP("move")},
                                                   {QStringLiteral("capture"), QT_TR_NOOP("capture")},
                                                   {QStringLiteral("estop"), QT_TR_NOOP("E-stop")},
                                                   {QStringLiteral("prompt"), QT_TR_NOOP("prompt")},
                                                   {QStringLiteral("wait"), QT_TR_NOOP("wait")}};
    return kinds.contains(step.kind) ? tr(kinds.value(step.kind)) : step.title;
}

QString CommissionPage::outcomeText(const QString& outcome) {
    Outcome known;
    return Outcomes::fromName(outcome, &known) ? Outcomes::label(known) : tr("running");
}

void CommissionPage::setOutcome(QTreeWidgetItem* item, int column, const QString& outcome) {
    item->setText(column, outcomeText(outcome));
    item->setData(column, Qt::UserRole, outcome);
    item->setBackground(column, outcomeColor(outcome));
    item->setForeground(column, Qt::white);
    item->setTextAlignment(column, Qt::AlignCenter);
}

QTreeWidgetItem* CommissionPage::stepItem(int motor, int stepIndex) const {
    QTreeWidgetItem* motorItem = m_motorItems.value(motor);
    if (!motorItem || stepIndex < 1 || stepIndex > motorItem->childCount())
        return nullptr;
    return motorItem->child(stepIndex - 1);
}

void CommissionPage::onMotorsFound(const RunRecord& record) {
    m_steps->clear();
    m_motorItems.clear();
    for (const MotorRecord& motor : record.motors) {
        auto* item = new QTreeWidgetItem(m_steps);
        item->setText(ColStep, tr("Motor %1").arg(motor.canId));
        item->setText(
            ColNote,
            tr("MCU %1, model %2").arg(ReportText::mcuId(motor.mcuId), ReportText::model(motor.modelCode)));
        QFont bold = item->font(ColStep);
        bold.setBold(true);
        item->setFont(ColStep, bold);
        for (const PlanStep& step : m_plan->steps) {
            auto* child = new QTreeWidgetItem(item);
            child->setText(ColStep, QStringLiteral("%1. %2").arg(step.index).arg(stepTitle(step)));
        }
        item->setExpanded(true);
        m_motorItems << item;
    }
    m_status->setText(tr("%n motor(s) in the run.", nullptr, record.motors.size()));
}

void CommissionPage::onStepStarted(int motor, const PlanStep& step) {
    if (QTreeWidgetItem* item = stepItem(motor, step.index)) {
        setOutcome(item, ColResult, kRunning);
        m_steps->scrollToItem(item);
    }
}

void CommissionPage::onStepProgress(int motor, int stepIndex, const FlowProgress& progress) {
    // Flows over several motors report once for all of them.
    QList<int> motors{motor};
    if (motor >= 0 && stepIndex >= 1 && stepIndex <= m_plan->steps.size() &&
        m_plan->steps[stepIndex - 1].allMotors) {
        motors.clear();
        for (int m = 0; m < m_motorItems.size(); ++m)
            motors << m;
    }
    for (int m : motors) {
        QTreeWidgetItem* item = stepItem(m, stepIndex);
        if (!item || item->data(ColResult, Qt::UserRole).toString() != kRunning)
            continue;
        if (progress.fraction >= 0)
            item->setText(ColResult, tr("running %1%").arg(qRound(progress.fraction * 100)));
        QStringList values;
        for (auto it = progress.values.cbegin(); it != progress.values.cend(); ++it)
            values << liveValue(it.key(), it.value());
        if (!values.isEmpty())
            item->setText(ColValues, values.join(QStringLiteral("   ")));
        if (!progress.text.isEmpty())
            item->setText(ColNote, progress.text);
    }
}

void CommissionPage::onStepFinished(int motor, const StepRecord& step) {
    QTreeWidgetItem* item = stepItem(motor, step.index);
    if (!item)
        return;
    setOutcome(item, ColResult, Outcomes::name(step.outcome));
    QStringList values;
    for (const Measurement& m : step.measurements) {
        QString text = QStringLiteral("%1 %2").arg(quantityName(m.name), ReportText::value(m));
        const QString limits = ReportText::limits(m);
        if (!limits.isEmpty())
            text += QStringLiteral(" (%1)").arg(limits);
        values << text;
    }
    item->setText(ColValues, values.join(QStringLiteral("   ")));
    item->setToolTip(ColValues, values.join(QLatin1Char('\n')));
    item->setText(ColNote, step.message.isEmpty() ? ReportText::duration(step.seconds) : step.message);
    item->setToolTip(ColNote, step.log.join(QLatin1Char('\n')));
}

void CommissionPage::onMotorFinished(int motor, const MotorRecord& record) {
    QTreeWidgetItem* item = m_motorItems.value(motor);
    if (!item)
        return;
    Outcome outcome = Outcome::Pass;
    for (const StepRecord& s : record.steps)
        outcome = Outcomes::worst(outcome, s.outcome == Outcome::Skipped ? Outcome::Pass : s.outcome);
    setOutcome(item, ColResult, Outcomes::name(outcome));
}

void CommissionPage::onFinished(const RunRecord& record, const QString& folder, const QStringList& files,
                                const QString& error, const QString& notKept) {
    // The steps that never ran are in the record only now.
    for (int motor = 0; motor < record.motors.size(); ++motor) {
        for (const StepRecord& step : record.motors[motor].steps) {
            QTreeWidgetItem* item = stepItem(motor, step.index);
            if (item && item->data(ColResult, Qt::UserRole).toString() != Outcomes::name(step.outcome))
                onStepFinished(motor, step);
        }
        if (QTreeWidgetItem* item = m_motorItems.value(motor))
            setOutcome(item, ColResult, Outcomes::name(record.motors[motor].outcome));
    }
    const QString outcome = Outcomes::name(record.outcome);
    showResult(outcomeText(outcome), outcome);
    QStringList lines;
    if (!record.message.isEmpty())
        lines << record.message;
    m_reportFolder = folder;
    if (folder.isEmpty()) {
        lines << tr("The reports could not be written: %1").arg(error);
    } else {
        lines << tr("Reports: %1").arg(QDir::toNativeSeparators(folder));
        const QStringList pages = files.filter(QStringLiteral(".html"));
        // One motor: its report; several: the folder with all of them.
        m_reportFile = pages.size() == 1 ? folder + QLatin1Char('/') + pages.first() : QString();
        m_openReport->setEnabled(true);
        opener()(QUrl::fromLocalFile(m_reportFile.isEmpty() ? folder : m_reportFile));
    }
    if (!notKept.isEmpty())
        lines << tr("The run was not kept in the station's records: %1").arg(notKept);
    m_status->setText(lines.join(QLatin1Char('\n')));
    updateButtons();
}
