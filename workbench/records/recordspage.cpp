#include "workbench/records/recordspage.h"

#include "commission/htmlreport.h"
#include "commission/report/reportfolder.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "records/recordslookup.h"
#include "records/runparams.h"
#include "records/stationrecords.h"
#include "workbench/records/paramcompareview.h"
#include "workbench/records/rundetailview.h"
#include "workbench/records/runtablemodel.h"
#include "workbench/records/timelinemodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// Runs work on the pool and hands its result to done on the owner's thread; nothing arrives
// once the owner is gone.
template <typename T, typename Work, typename Done>
void inBackground(QObject* owner, Work work, Done done) {
    auto* watcher = new QFutureWatcher<T>(owner);
    QObject::connect(watcher, &QFutureWatcher<T>::finished, owner, [watcher, done] {
        done(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(work));
}

struct Found {
    bool ok = false;
    QString error;
    QString note;
    QVector<RunSummary> runs;
    QStringList plans;
    QStringList stations;
};

struct Loaded {
    bool ok = false;
    QString error;
    QString note;
    RunRecord run;
};

struct History {
    bool ok = false;
    QString error;
    QString note;
    QVector<MotorRun> timeline;
};

struct Compared {
    QString error;
    ParamDiff diff;
};

constexpr int kShownRuns = 500;

void refill(QComboBox* box, const QStringList& values) {
    const QString current = box->currentText();
    box->clear();
    box->addItem(QString());
    box->addItems(values);
    box->setCurrentText(current);
}

}  // namespace

RecordsPage::RecordsPage(QWidget* parent)
    : QWidget(parent),
      // One history for the whole station, whichever motor is current.
      BaseEditorPage(QLatin1String(kKind), false),
      m_settings(StationRecords::instance()->settings()) {
    setObjectName(QStringLiteral("RecordsPage"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QWidget(this);
    buildForm(form);
    layout->addWidget(form);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblRecordsStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    m_runs = new RunTableModel(this);
    m_runsView = new QTableView(splitter);
    m_runsView->setObjectName(QStringLiteral("tblRuns"));
    m_runsView->setModel(m_runs);
    m_runsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_runsView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_runsView->verticalHeader()->setVisible(false);
    m_runsView->horizontalHeader()->setStretchLastSection(true);
    m_runsView->setWordWrap(false);
    connect(m_runsView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { onRunSelected(); });

    m_tabs = new QTabWidget(splitter);
    m_tabs->setObjectName(QStringLiteral("tabRecords"));
    auto* runTab = new QWidget(m_tabs);
    auto* runLayout = new QVBoxLayout(runTab);
    m_detail = new RunDetailView(runTab);
    runLayout->addWidget(m_detail, 1);
    auto* runButtons = new QHBoxLayout;
    m_openReport = new QPushButton(tr("Open Report"), runTab);
    m_openReport->setObjectName(QStringLiteral("btnOpenReport"));
    m_motorTimeline = new QPushButton(tr("Motor Timeline"), runTab);
    m_motorTimeline->setObjectName(QStringLiteral("btnMotorTimeline"));
    runButtons->addWidget(m_openReport);
    runButtons->addWidget(m_motorTimeline);
    runButtons->addStretch(1);
    runLayout->addLayout(runButtons);
    m_tabs->addTab(runTab, tr("Run"));

    auto* timelineTab = new QWidget(m_tabs);
    auto* timelineLayout = new QVBoxLayout(timelineTab);
    m_timelineTitle =
        new QLabel(tr("Search by MCU ID, or pick a motor of a run, to see its timeline."), timelineTab);
    m_timelineTitle->setObjectName(QStringLiteral("lblTimeline"));
    // A long sentence wraps instead of widening the page and squeezing the device tree.
    m_timelineTitle->setWordWrap(true);
    timelineLayout->addWidget(m_timelineTitle);
    m_timeline = new TimelineModel(this);
    m_timelineView = new QTableView(timelineTab);
    m_timelineView->setObjectName(QStringLiteral("tblTimeline"));
    m_timelineView->setModel(m_timeline);
    m_timelineView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_timelineView->setSelectionMode(QAbstractItemView::MultiSelection);
    m_timelineView->verticalHeader()->setVisible(false);
    m_timelineView->horizontalHeader()->setStretchLastSection(true);
    timelineLayout->addWidget(m_timelineView, 1);
    auto* timelineButtons = new QHBoxLayout;
    m_compareButton = new QPushButton(tr("Compare Parameters"), timelineTab);
    m_compareButton->setObjectName(QStringLiteral("btnCompareParams"));
    m_compareButton->setEnabled(false);
    timelineButtons->addWidget(m_compareButton);
    timelineButtons->addStretch(1);
    timelineLayout->addLayout(timelineButtons);
    m_tabs->addTab(timelineTab, tr("Timeline"));

    m_compare = new ParamCompareView(m_tabs);
    m_tabs->addTab(m_compare, tr("Parameters"));
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    connect(m_search, &QPushButton::clicked, this, [this] { search(); });
    connect(m_mcuId, &QLineEdit::returnPressed, this, [this] { search(); });
    connect(m_openReport, &QPushButton::clicked, this, [this] { openReport(); });
    connect(m_motorTimeline, &QPushButton::clicked, this, [this] {
        const int motor = m_detail->selectedMotor();
        if (motor >= 0)
            showTimeline(m_detail->run().motors[motor].mcuId);
        else
            setStatus(tr("Select one of the run's motors first."));
    });
    connect(m_timelineView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        m_compareButton->setEnabled(m_timelineView->selectionModel()->selectedRows().size() == 2);
    });
    connect(m_compareButton, &QPushButton::clicked, this, [this] { compareSelected(); });
    // A run kept meanwhile (by this program) shows up without another click.
    connect(StationRecords::instance(), &StationRecords::recorded, this, [this] {
        if (!isBusy())
            search();
    });
    m_openReport->setEnabled(false);
    m_motorTimeline->setEnabled(false);

    // Opened while a motor is current: its history first (the page itself belongs to no motor).
    kx::DataObject* record = Helper::instance()->currentDeviceDobj();
    bool known = false;
    const quint64 mcu = record->isEmpty() ? 0 : record->name().toULongLong(&known, 16);
    if (known) {
        m_mcuId->setText(QStringLiteral("0x%1").arg(mcu, 0, 16));
        showTimeline(mcu);
    }
    search();
}

RecordsPage::~RecordsPage() = default;

void RecordsPage::buildForm(QWidget* form) {
    auto* grid = new QGridLayout(form);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto label = [form](const QString& text) { return new QLabel(text, form); };

    m_mcuId = new QLineEdit(form);
    m_mcuId->setObjectName(QStringLiteral("edtMcuId"));
    m_mcuId->setPlaceholderText(tr("any"));
    m_mcuId->setClearButtonEnabled(true);
    // Room for a whole 64-bit MCU ID and the clear button, whatever the language does to the rest.
    m_mcuId->setMinimumWidth(m_mcuId->fontMetrics().horizontalAdvance(QStringLiteral("0x3a10c5e700001001")) +
                             40);
    m_mcuId->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("(0[xX])?[0-9a-fA-F]{0,16}")), m_mcuId));
    m_canId = new QSpinBox(form);
    m_canId->setObjectName(QStringLiteral("spnCanId"));
    m_canId->setRange(0, 127);
    m_canId->setSpecialValueText(tr("any"));
    m_plan = new QComboBox(form);
    m_plan->setObjectName(QStringLiteral("cmbPlan"));
    m_plan->setEditable(true);
    m_plan->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_plan->setMinimumContentsLength(14);
    m_outcome = new QComboBox(form);
    m_outcome->setObjectName(QStringLiteral("cmbOutcome"));
    m_outcome->addItem(tr("any"));
    for (Outcome o : {Outcome::Pass, Outcome::Marginal, Outcome::Skipped, Outcome::Fail, Outcome::Error})
        m_outcome->addItem(Outcomes::label(o), int(o));
    // Never narrower than its longest choice (and the style's arrow), however little room the
    // page gets.
    int widest = 0;
    for (int i = 0; i < m_outcome->count(); ++i)
        widest = qMax(widest, m_outcome->fontMetrics().horizontalAdvance(m_outcome->itemText(i)));
    m_outcome->setMinimumWidth(widest + 40);
    m_station = new QComboBox(form);
    m_station->setObjectName(QStringLiteral("cmbStation"));
    m_station->setEditable(true);
    m_station->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_station->setMinimumContentsLength(10);
    m_fromOn = new QCheckBox(tr("From"), form);
    m_fromOn->setObjectName(QStringLiteral("chbFrom"));
    m_from = new QDateEdit(QDate::currentDate().addMonths(-1), form);
    m_from->setObjectName(QStringLiteral("dteFrom"));
    m_from->setCalendarPopup(true);
    m_from->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_toOn = new QCheckBox(tr("To"), form);
    m_toOn->setObjectName(QStringLiteral("chbTo"));
    m_to = new QDateEdit(QDate::currentDate(), form);
    m_to->setObjectName(QStringLiteral("dteTo"));
    m_to->setCalendarPopup(true);
    m_to->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_from->setEnabled(false);
    m_to->setEnabled(false);
    connect(m_fromOn, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_toOn, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
    m_search = new QPushButton(tr("Search"), form);
    m_search->setObjectName(QStringLiteral("btnSearch"));
    m_search->setDefault(true);

    grid->addWidget(label(tr("MCU ID")), 0, 0);
    grid->addWidget(m_mcuId, 0, 1);
    grid->addWidget(label(tr("CAN ID")), 0, 2);
    grid->addWidget(m_canId, 0, 3);
    grid->addWidget(label(tr("Plan")), 0, 4);
    grid->addWidget(m_plan, 0, 5);
    grid->addWidget(label(tr("Outcome")), 0, 6);
    grid->addWidget(m_outcome, 0, 7);
    grid->addWidget(label(tr("Station")), 1, 0);
    grid->addWidget(m_station, 1, 1);
    grid->addWidget(m_fromOn, 1, 2);
    grid->addWidget(m_from, 1, 3);
    grid->addWidget(m_toOn, 1, 4);
    grid->addWidget(m_to, 1, 5);
    grid->addWidget(m_search, 1, 7);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(5, 2);
}

QString RecordsPage::statusText() const {
    return m_status->text();
}

void RecordsPage::setStatus(const QString& text) {
    m_status->setText(text);
}

void RecordsPage::setBusy(bool busy) {
    m_busy += busy ? 1 : -1;
    m_search->setEnabled(m_busy == 0);
}

bool RecordsPage::query(RunQuery* q, QString* error) const {
    *q = RunQuery();
    QString mcu = m_mcuId->text().trimmed();
    if (mcu.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        mcu = mcu.mid(2);
    if (!mcu.isEmpty()) {
        bool ok = false;
        q->mcuId = mcu.toULongLong(&ok, 16);
        if (!ok) {
            *error = tr("Not an MCU ID: %1").arg(m_mcuId->text());
            return false;
        }
    }
    q->canId = m_canId->value() > 0 ? m_canId->value() : -1;
    q->plan = m_plan->currentText().trimmed();
    q->station = m_station->currentText().trimmed();
    if (m_outcome->currentIndex() > 0)
        q->outcome = Outcome(m_outcome->currentData().toInt());
    if (m_fromOn->isChecked())
        q->since = QDateTime(m_from->date(), QTime(0, 0));
    if (m_toOn->isChecked())
        q->until = QDateTime(m_to->date().addDays(1), QTime(0, 0));  // the whole last day
    q->limit = kShownRuns;
    return true;
}

void RecordsPage::search() {
    RunQuery q;
    QString error;
    if (!query(&q, &error)) {
        setStatus(error);
        return;
    }
    const int seq = ++m_searchSeq;
    setBusy(true);
    setStatus(tr("Searching..."));
    const RecordsSettings settings = m_settings;
    inBackground<Found>(
        this,
        [settings, q] {
            Found f;
            RecordsLookup lookup(settings);
            f.ok = lookup.find(q, &f.runs, &f.error);
            if (f.ok)
                lookup.knownChoices(&f.plans, &f.stations, &f.error);
            f.note = lookup.serverNote();
            return f;
        },
        [this, seq, q](const Found& f) {
            setBusy(false);
            if (seq != m_searchSeq)
                return;
            if (!f.ok) {
                setStatus(f.error);
            } else {
                m_runs->setRuns(f.runs, m_settings.server.isServer());
                m_runsView->resizeColumnsToContents();
                refill(m_plan, f.plans);
                refill(m_station, f.stations);
                QString text =
                    f.runs.size() >= kShownRuns
                        ? tr("The newest %1 runs; narrow the search to see older ones.").arg(kShownRuns)
                        : tr("Runs found: %1").arg(f.runs.size());
                if (!f.note.isEmpty())
                    text +=
                        QLatin1Char(' ') +
                        tr("The records server cannot be reached, so only this station's runs are shown: %1")
                            .arg(f.note);
                setStatus(text);
                if (q.mcuId && *q.mcuId != m_timelineMcu)
                    showTimeline(*q.mcuId);
            }
            emit searched();
        });
}

void RecordsPage::onRunSelected() {
    const QModelIndexList rows = m_runsView->selectionModel()->selectedRows();
    const RunSummary* run = rows.isEmpty() ? nullptr : m_runs->runAt(rows.first().row());
    if (!run) {
        m_detail->clearRun();
        m_openReport->setEnabled(false);
        m_motorTimeline->setEnabled(false);
        return;
    }
    loadRun(run->uuid);
}

void RecordsPage::loadRun(const QString& uuid) {
    const int seq = ++m_runSeq;
    setBusy(true);
    const RecordsSettings settings = m_settings;
    inBackground<Loaded>(
        this,
        [settings, uuid] {
            Loaded l;
            RecordsLookup lookup(settings);
            l.ok = lookup.load(uuid, &l.run, &l.error) == RecordsLookup::Match::Found;
            l.note = lookup.serverNote();
            return l;
        },
        [this, seq](const Loaded& l) {
            setBusy(false);
            if (seq != m_runSeq)
                return;
            if (!l.ok) {
                m_detail->clearRun();
                setStatus(l.error);
            } else {
                m_detail->showRun(l.run);
                m_tabs->setCurrentIndex(0);
            }
            m_openReport->setEnabled(l.ok && !l.run.motors.isEmpty());
            m_motorTimeline->setEnabled(l.ok && !l.run.motors.isEmpty());
            emit runShown();
        });
}

void RecordsPage::showTimeline(quint64 mcuId) {
    const int seq = ++m_timelineSeq;
    m_timelineMcu = mcuId;
    setBusy(true);
    m_timelineTitle->setText(tr("Motor 0x%1: reading its runs...").arg(mcuId, 0, 16));
    const RecordsSettings settings = m_settings;
    inBackground<History>(
        this,
        [settings, mcuId] {
            History h;
            RecordsLookup lookup(settings);
            h.ok = lookup.history(mcuId, &h.timeline, &h.error);
            h.note = lookup.serverNote();
            return h;
        },
        [this, seq, mcuId](const History& h) {
            setBusy(false);
            if (seq != m_timelineSeq)
                return;
            m_timeline->setTimeline(h.ok ? h.timeline : QVector<MotorRun>());
            m_timelineView->resizeColumnsToContents();
            if (!h.ok)
                m_timelineTitle->setText(h.error);
            else if (h.timeline.isEmpty())
                m_timelineTitle->setText(tr("Motor 0x%1 has no recorded run.").arg(mcuId, 0, 16));
            else
                m_timelineTitle->setText(
                    tr("Motor 0x%1: %2 runs, newest first. Changes since the run before are "
                       "highlighted; select two runs to compare their parameters.")
                        .arg(QString::number(mcuId, 16), QString::number(h.timeline.size())));
            if (m_detail->hasRun() || h.timeline.isEmpty())
                emit timelineShown();
            else {
                m_tabs->setCurrentIndex(1);
                emit timelineShown();
            }
        });
}

void RecordsPage::compareSelected() {
    QModelIndexList rows = m_timelineView->selectionModel()->selectedRows();
    if (rows.size() != 2) {
        m_compare->showMessage(tr("Select exactly two runs of the motor."));
        return;
    }
    // Rows are newest first: the higher row is the older run and goes on the left.
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() > b.row(); });
    const MotorRun older = *m_timeline->runAt(rows[0].row());
    const MotorRun newer = *m_timeline->runAt(rows[1].row());
    const quint64 mcu = m_timelineMcu;
    const RecordsSettings settings = m_settings;
    setBusy(true);
    m_compare->showMessage(tr("Reading both parameter tables..."));
    m_tabs->setCurrentWidget(m_compare);
    inBackground<Compared>(
        this,
        [settings, older, newer, mcu] {
            Compared c;
            RecordsLookup lookup(settings);
            std::optional<ParamBackup> tables[2];
            const MotorRun* runs[2] = {&older, &newer};
            for (int i = 0; i < 2; ++i) {
                RunRecord run;
                if (lookup.load(runs[i]->runUuid, &run, &c.error) != RecordsLookup::Match::Found)
                    return c;
                tables[i] = RunParams::of(run, RunParams::motorIndex(run, mcu), &c.error);
                if (!tables[i]) {
                    c.error = tr("Run of %1: %2").arg(RunTableModel::timeText(runs[i]->startUtc), c.error);
                    return c;
                }
            }
            c.diff = ParamDiff::compare(*tables[0], *tables[1]);
            return c;
        },
        [this, older, newer](const Compared& c) {
            setBusy(false);
            if (!c.error.isEmpty())
                m_compare->showMessage(c.error);
            else
                m_compare->showDiff(c.diff, RunTableModel::timeText(older.startUtc),
                                    RunTableModel::timeText(newer.startUtc));
            emit compared();
        });
}

QString RecordsPage::writeReport() {
    if (!m_detail->hasRun())
        return QString();
    const RunRecord& run = m_detail->run();
    const int motor = m_detail->selectedMotor();
    if (motor < 0) {
        setStatus(tr("Select the motor whose report to open."));
        return QString();
    }
    const QString dir = QDir::temp().filePath(QStringLiteral("trivane-reports"));
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(
        QStringLiteral("%1-%2.html").arg(run.uuid, QString::number(run.motors[motor].mcuId, 16)));
    QString error;
    if (!ReportFolder::writeFile(path, HtmlReport::render(run, motor), &error)) {
        setStatus(error);
        return QString();
    }
    return path;
}

void RecordsPage::openReport() {
    const QString path = writeReport();
    if (!path.isEmpty() && !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        setStatus(tr("The report is in %1; no program here opens it.").arg(path));
}
