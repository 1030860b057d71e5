#include "workbench/monitor/busmonitorpage.h"

#include "app/filedialogs.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/monitor/tracefilereader.h"
#include "link/monitor/tracefilewriter.h"
#include "link/monitor/tracerecorder.h"
#include "link/monitor/tracestore.h"
#include "workbench/monitor/livetrace.h"
#include "workbench/monitor/statisticsmodel.h"
#include "workbench/monitor/tracemodel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Records are taken from the trace five times a second: enough to follow, and at full line rate
// the repaint of the rows that scrolled in is what the page costs.
constexpr int kRefreshMs = 200;
// The statistics table is refreshed every few takes.
constexpr int kStatisticsEvery = 3;

}  // namespace

BusMonitorPage::BusMonitorPage(QWidget* parent)
    : QWidget(parent),
      BaseEditorPage(kind(), false),
      m_live(LiveTrace::instance().store()),
      m_recorder(LiveTrace::instance().recorder()),
      m_model(new TraceModel(m_live, this)),
      m_statistics(new StatisticsModel(this)) {
    LiveTrace::instance().start();
    if (CANWorker* worker = Helper::instance()->worker())
        m_model->decoder().useLink(worker->link());
    buildUi();
    m_refresh = new QTimer(this);
    m_refresh->setSingleShot(true);
    m_refresh->setInterval(kRefreshMs);
    connect(m_refresh, &QTimer::timeout, this, &BusMonitorPage::refresh);
    // The recorder says when records arrived; idle, the page does nothing at all.
    connect(m_recorder, &TraceRecorder::recorded, this, &BusMonitorPage::scheduleRefresh,
            Qt::QueuedConnection);
    refresh();
    m_statistics->refresh(m_model->statistics());
    m_view->scrollToBottom();
}

BusMonitorPage::~BusMonitorPage() = default;

TraceStore* BusMonitorPage::store() const {
    return m_model->store();
}

void BusMonitorPage::buildUi() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(tr("Direction"), this));
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("cmbDirection"));
    m_direction->addItem(tr("Both"), int(TraceFilter::Directions::Both));
    m_direction->addItem(tr("Received (Rx)"), int(TraceFilter::Directions::Rx));
    m_direction->addItem(tr("Sent (Tx)"), int(TraceFilter::Directions::Tx));
    filters->addWidget(m_direction);
    filters->addWidget(new QLabel(tr("Type"), this));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cmbType"));
    m_type->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_type->setMinimumContentsLength(14);
    m_type->addItem(tr("All"), QVariant());
    for (int t = 0; t < CANCOM_MODE_TOTAL; ++t)
        m_type->addItem(QStringLiteral("%1 %2").arg(t).arg(FrameDecoder::typeName(t)), t);
    m_type->addItem(tr("AT lines"), TraceFilter::kTextType);
    m_type->addItem(tr("Skipped bytes"), TraceFilter::kSkippedType);
    filters->addWidget(m_type);
    filters->addWidget(new QLabel(tr("CAN ID"), this));
    m_canIds = new QLineEdit(this);
    m_canIds->setObjectName(QStringLiteral("edtCanIds"));
    m_canIds->setPlaceholderText(tr("all, or 1,2,..."));
    m_canIds->setMinimumWidth(m_canIds->fontMetrics().horizontalAdvance(m_canIds->placeholderText()) + 16);
    m_canIds->setMaximumWidth(160);
    filters->addWidget(m_canIds, 1);
    filters->addStretch();
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("edtSearch"));
    m_text->setPlaceholderText(tr("Search the decoded fields and data"));
    m_text->setClearButtonEnabled(true);
    m_text->setMinimumWidth(140);
    layout->addLayout(filters);

    auto* actions = new QHBoxLayout;
    m_liveButton = new QPushButton(tr("Back to the live bus"), this);
    m_liveButton->setObjectName(QStringLiteral("btnLive"));
    m_liveButton->hide();
    m_pause = new QPushButton(tr("Pause"), this);
    m_pause->setObjectName(QStringLiteral("btnPause"));
    m_pause->setCheckable(true);
    m_follow = new QCheckBox(tr("Follow the end"), this);
    m_follow->setObjectName(QStringLiteral("chbFollow"));
    m_follow->setChecked(true);
    auto* clear = new QPushButton(tr("Clear"), this);
    clear->setObjectName(QStringLiteral("btnClear"));
    auto* save = new QPushButton(tr("Save..."), this);
    save->setObjectName(QStringLiteral("btnSave"));
    auto* open = new QPushButton(tr("Open..."), this);
    open->setObjectName(QStringLiteral("btnOpen"));
    for (QWidget* w : {static_cast<QWidget*>(m_liveButton), static_cast<QWidget*>(m_pause),
                       static_cast<QWidget*>(m_follow), static_cast<QWidget*>(clear),
                       static_cast<QWidget*>(save), static_cast<QWidget*>(open)})
        actions->addWidget(w);
    actions->addWidget(m_text, 1);
    layout->addLayout(actions);
    // The counts get a line of their own: they must stay readable in a narrow editor.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    m_view = new QTableView(splitter);
    m_view->setObjectName(QStringLiteral("tvTrace"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->setAlternatingRowColors(true);
    // Fixed row heights: the view never asks a million rows for their size.
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics fm = m_view->fontMetrics();
    m_view->setColumnWidth(TraceModel::Time, fm.horizontalAdvance(QStringLiteral("00:00:00.000000")) + 16);
    m_view->setColumnWidth(TraceModel::Direction, fm.horizontalAdvance(QStringLiteral("Dir")) + 24);
    m_view->setColumnWidth(TraceModel::Type, fm.horizontalAdvance(QStringLiteral("PARA_STR_INFO")) + 40);
    m_view->setColumnWidth(TraceModel::From, fm.horizontalAdvance(QStringLiteral("host")) + 24);
    m_view->setColumnWidth(TraceModel::To, fm.horizontalAdvance(QStringLiteral("host")) + 24);
    m_view->setColumnWidth(
        TraceModel::Fields,
        fm.horizontalAdvance(QStringLiteral("pos=-12.500 vel=-33.00 torque=-14.00 mode=run faults=-")));
    m_view->setColumnWidth(TraceModel::Data,
                           fm.horizontalAdvance(QStringLiteral("00 00 00 00 00 00 00 00")) + 16);
    m_statisticsView = new QTableView(splitter);
    m_statisticsView->setObjectName(QStringLiteral("tvStatistics"));
    m_statisticsView->setModel(m_statistics);
    m_statisticsView->verticalHeader()->hide();
    // Room for the adapter and a few motors before the splitter is touched.
    m_statisticsView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_statisticsView->verticalHeader()->setDefaultSectionSize(m_view->verticalHeader()->defaultSectionSize());
    m_statisticsView->setMinimumHeight(m_statisticsView->horizontalHeader()->sizeHint().height() +
                                       3 * m_view->verticalHeader()->defaultSectionSize() + 4);
    m_statisticsView->horizontalHeader()->setStretchLastSection(true);
    m_statisticsView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_statisticsView->horizontalHeader()->setSectionResizeMode(StatisticsModel::Types, QHeaderView::Stretch);
    splitter->addWidget(m_view);
    splitter->addWidget(m_statisticsView);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    m_filterDelay = new QTimer(this);
    m_filterDelay->setSingleShot(true);
    m_filterDelay->setInterval(300);
    connect(m_filterDelay, &QTimer::timeout, this, &BusMonitorPage::applyFilter);
    connect(m_direction, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &BusMonitorPage::applyFilter);
    connect(m_type, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &BusMonitorPage::applyFilter);
    connect(m_canIds, &QLineEdit::textChanged, m_filterDelay, QOverload<>::of(&QTimer::start));
    connect(m_text, &QLineEdit::textChanged, m_filterDelay, QOverload<>::of(&QTimer::start));
    connect(m_liveButton, &QPushButton::clicked, this, &BusMonitorPage::showLive);
    connect(m_pause, &QPushButton::toggled, this, [this](bool paused) {
        m_model->setPaused(paused);
        if (!paused && m_follow->isChecked())
            m_view->scrollToBottom();
        updateStatus();
    });
    connect(m_follow, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_view->scrollToBottom();
    });
    // Scrolling away from the end stops following; scrolling back to it follows again.
    connect(m_view->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] {
        QScrollBar* bar = m_view->verticalScrollBar();
        QTimer::singleShot(0, this, [this, bar] { m_follow->setChecked(bar->value() >= bar->maximum()); });
    });
    connect(clear, &QPushButton::clicked, this, &BusMonitorPage::clear);
    connect(save, &QPushButton::clicked, this, &BusMonitorPage::onSave);
    connect(open, &QPushButton::clicked, this, &BusMonitorPage::onOpen);
}

void BusMonitorPage::scheduleRefresh() {
    if (!m_refresh->isActive())
        m_refresh->start();
}

void BusMonitorPage::refresh() {
    const bool added = m_model->update();
    if (added && m_follow->isChecked())
        m_view->scrollToBottom();
    if (++m_refreshes % kStatisticsEvery == 0 || m_file)
        m_statistics->refresh(m_model->statistics());
    updateStatus();
}

void BusMonitorPage::updateStatus() {
    QStringList parts;
    if (!m_source.isEmpty())
        parts << tr("File %1").arg(m_source);
    parts << tr("%1 records, %2 shown").arg(store()->size()).arg(m_model->rowCount());
    if (m_model->isPaused())
        parts << tr("paused, %1 waiting").arg(m_model->waiting());
    if (const quint64 dropped = store()->droppedFromStart())
        parts << tr("%1 dropped from the start").arg(dropped);
    if (const quint64 behind = m_model->viewDropped())
        parts << tr("%1 passed the view").arg(behind);
    if (const quint64 lost = m_file ? 0 : m_recorder->lost())
        parts << tr("%1 lost").arg(lost);
    m_status->setText(parts.join(QStringLiteral(" | ")));
}

void BusMonitorPage::applyFilter() {
    TraceFilter filter;
    filter.directions = TraceFilter::Directions(m_direction->currentData().toInt());
    const QVariant type = m_type->currentData();
    if (type.isValid())
        filter.types.insert(type.toInt());
    bool idsOk = true;
    for (const QString& id : m_canIds->text().split(QRegExp(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int value = id.toInt(&ok, 0);
        if (ok && value >= 0 && value <= 255)
            filter.canIds.insert(value);
        else
            idsOk = false;
    }
    // A CAN ID being typed that is not one yet leaves the list as it was.
    m_canIds->setToolTip(idsOk ? QString() : tr("CAN IDs are numbers from 0 to 255, separated by commas."));
    if (!idsOk)
        return;
    filter.text = m_text->text().trimmed();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model->setFilter(filter);
    QApplication::restoreOverrideCursor();
    if (m_follow->isChecked())
        m_view->scrollToBottom();
    updateStatus();
}

void BusMonitorPage::showLive() {
    if (!m_file)
        return;
    m_model->setStore(m_live);
    m_file.reset();
    m_source.clear();
    m_liveButton->hide();
    m_statistics->refresh(m_model->statistics());
    if (m_follow->isChecked())
        m_view->scrollToBottom();
    updateStatus();
}

void BusMonitorPage::clear() {
    store()->clear();
    m_model->reset();
    m_statistics->refresh(m_model->statistics());
    updateStatus();
}

bool BusMonitorPage::saveTo(const QString& path, bool shownOnly) {
    refresh();
    TraceStore* trace = store();
    TraceFileWriter writer(path, traceFileFormatFor(path));
    QString error;
    if (!writer.open(&error)) {
        Helper::instance()->showError(tr("Cannot write %1: %2").arg(path, error));
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (shownOnly) {
        TraceRecord r;
        for (const quint64 seq : m_model->rows()) {
            if (trace->at(seq, &r))
                writer.add(r);
        }
    } else {
        const quint64 end = trace->end();
        for (quint64 seq = trace->first(); seq < end; seq += 65536) {
            for (const TraceRecord& r : trace->range(seq, qMin(end, seq + 65536)))
                writer.add(r);
        }
    }
    const bool ok = writer.commit(&error);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        Helper::instance()->showError(tr("Cannot write %1: %2").arg(path, error));
        return false;
    }
    Helper::instance()->postStatus(
        tr("Trace saved to %1: %2 frames (%3 AT lines and skipped bytes have no place in the file).")
            .arg(path)
            .arg(writer.frames())
            .arg(writer.leftOut()));
    return true;
}

bool BusMonitorPage::openFrom(const QString& path) {
    QVector<TraceRecord> records;
    TraceFileReader::Report report;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool read = TraceFileReader::load(path, m_live->capacity(), &records, &report, &error);
    QApplication::restoreOverrideCursor();
    if (!read) {
        Helper::instance()->showError(tr("Cannot read %1: %2").arg(path, error));
        return false;
    }
    // The live trace goes on recording meanwhile; the page shows the file.
    auto file = std::make_unique<TraceStore>(qMax(1, records.size()));
    file->append(records);
    m_model->setStore(file.get());
    m_file = std::move(file);
    m_source = path;
    m_liveButton->show();
    m_statistics->refresh(m_model->statistics());
    if (m_follow->isChecked())
        m_view->scrollToBottom();
    updateStatus();
    const QStringList notes = report.notes();
    if (!notes.isEmpty())
        Helper::instance()->showInformation(tr("%1 frames read from %2.").arg(report.frames).arg(path) +
                                            QStringLiteral("\n") + notes.join(QLatin1Char('\n')));
    return true;
}

void BusMonitorPage::onSave() {
    bool shownOnly = false;
    if (!m_model->filter().isEmpty()) {
        const auto answer =
            QMessageBox::question(this, tr("Save trace"),
                                  tr("Save only the %1 records the filter shows? No saves the whole trace.")
                                      .arg(m_model->rowCount()),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel)
            return;
        shownOnly = answer == QMessageBox::Yes;
    }
    const QString path =
        FileDialogs::saveFileName(this, tr("Save trace"), tr("candump log (*.log);;ASC (*.asc)"),
                                  FileDialogs::timedName(QStringLiteral("trace_"), QStringLiteral("log")));
    if (!path.isEmpty())
        saveTo(path, shownOnly);
}

void BusMonitorPage::onOpen() {
    const QString path =
        FileDialogs::openFileName(this, tr("Open trace"), tr("Traces (*.log *.asc);;All files (*)"));
    if (!path.isEmpty())
        openFrom(path);
}
