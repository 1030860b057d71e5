#include "scope/oscilloscopepage.h"

#include "app/filedialogs.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "link/scope/scopeacquisition.h"
#include "scope/scopecontrol.h"
#include "scope/wavedisplay.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

OscilloscopePage::OscilloscopePage(QWidget* parent) : QWidget(parent), BaseEditorPage(QLatin1String(kKind)) {
    setObjectName(QStringLiteral("OscilloscopePage"));
    ScopeControl::channelSettings(device());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    auto* bar = new QHBoxLayout();
    bar->setSpacing(8);
    m_lblCounts = new QLabel(this);
    m_lblCounts->setObjectName(QStringLiteral("lblCounts"));
    bar->addWidget(m_lblCounts);
    m_btnPause = new QPushButton(tr("Pause"), this);
    m_btnPause->setObjectName(QStringLiteral("btnPause"));
    m_btnPause->setCheckable(true);
    bar->addWidget(m_btnPause);
    // A check box, so that the state reads at a glance in either theme.
    m_chbFollow = new QCheckBox(tr("Auto-scroll"), this);
    m_chbFollow->setObjectName(QStringLiteral("chbFollow"));
    m_chbFollow->setChecked(true);
    bar->addWidget(m_chbFollow);
    auto* btnExport = new QPushButton(tr("Export CSV"), this);
    btnExport->setObjectName(QStringLiteral("btnExport"));
    bar->addWidget(btnExport);
    m_lblCursor = new QLabel(this);
    m_lblCursor->setObjectName(QStringLiteral("lblCursor"));
    bar->addWidget(m_lblCursor, 1);
    layout->addLayout(bar);
    m_plot = new waveDisplay(this);
    layout->addWidget(m_plot, 1);

    connect(m_btnPause, &QPushButton::toggled, this, [this](bool on) {
        m_plot->setPaused(on);
        m_btnPause->setText(on ? tr("Resume") : tr("Pause"));
    });
    connect(m_chbFollow, &QCheckBox::toggled, m_plot, &waveDisplay::setFollow);
    connect(m_plot, &waveDisplay::followChanged, m_chbFollow, &QCheckBox::setChecked);
    connect(m_plot, &waveDisplay::readout, m_lblCursor, &QLabel::setText);
    connect(btnExport, &QPushButton::clicked, this, &OscilloscopePage::onExport);

    kx::DataObject* legend = kx::d(QStringLiteral("trigger.analyze.oscilloscope.legend"));
    m_plot->legend->setVisible(legend->getBool(false));
    connect(legend, &kx::DataObject::changed, this, [this](const QVariant& on) {
        m_plot->legend->setVisible(on.toBool());
        m_plot->replot();
    });

    m_frameTimer.setInterval(m_plot->replotInterval());
    connect(&m_frameTimer, &QTimer::timeout, this, &OscilloscopePage::onFrame);
    if (ScopeAcquisition* scope = ScopeControl::acquisition()) {
        scope->setDisplayEnabled(true);
        connect(scope, &ScopeAcquisition::channelsConfigured, this, &OscilloscopePage::onConfigured);
        if (ours() && scope->configured())
            onConfigured();
    }
    showCounts();
}

OscilloscopePage::~OscilloscopePage() {
    // Closing the page ends its stream, whatever the tool strip shows at the time.
    kx::d(QStringLiteral("trigger.analyze.oscilloscope.stop"))->trigger();
    if (ScopeAcquisition* scope = ScopeControl::acquisition()) {
        if (ours())
            scope->batches().clear();
    }
}

bool OscilloscopePage::ours() const {
    ScopeAcquisition* scope = ScopeControl::acquisition();
    return scope && scope->target() == device()->r(QStringLiteral("info.can_id"))->getInt(-1);
}

void OscilloscopePage::start() {
    ScopeControl::instance()->start(device(), device()->r(QStringLiteral("_analyze.frequency"))->getInt(100),
                                    QString());
}

void OscilloscopePage::stop() {
    ScopeControl::instance()->stop();
}

void OscilloscopePage::onConfigured() {
    ScopeAcquisition* scope = ScopeControl::acquisition();
    if (!scope || !ours())
        return;
    QStringList names;
    QVector<QColor> colors;
    const QVector<int> indices = scope->activeIndices();
    const QVector<ScopeAcquisition::Channel> channels = scope->activeChannels();
    kx::DataObject* settings = ScopeControl::channelSettings(device());
    for (int k = 0; k < indices.size(); ++k) {
        const ScopeAcquisition::Channel c = channels.value(k);
        names << (c.name.isEmpty() ? tr("Channel %1").arg(indices[k] + 1) : c.name);
        colors << QColor(settings->c(indices[k])->r(QStringLiteral("color"))->getString());
    }
    m_plot->clearGraphs();
    // The history holds ten seconds of samples.
    m_plot->setActiveGraphs(indices, names, qMax(1, scope->frequency() * 10), colors);
    m_frameTimer.start();
    showCounts();
}

void OscilloscopePage::onFrame() {
    ScopeAcquisition* scope = ScopeControl::acquisition();
    if (!scope || !ours()) {
        m_frameTimer.stop();
        return;
    }
    const auto batches = scope->batches().takeAll();
    if (!batches.empty())
        m_plot->showData(batches);
    showCounts();
    // Once stopped and drained the page rests: no timer runs while nothing streams.
    if (batches.empty() && !scope->running() && !scope->configured())
        m_frameTimer.stop();
}

void OscilloscopePage::showCounts() {
    ScopeAcquisition* scope = ScopeControl::acquisition();
    const bool shown = scope && ours();
    const quint64 records = shown ? scope->records() : 0;
    const quint64 lost = shown ? scope->lost() : 0;
    m_lblCounts->setText(tr("Records: %1   Lost: %2").arg(records).arg(lost));
    // Runs on every frame; setting a style sheet repolishes the label even when it is the same.
    const QString sheet = lost > 0 ? QStringLiteral("color:#ff8080") : QString();
    if (m_lblCounts->styleSheet() != sheet)
        m_lblCounts->setStyleSheet(sheet);
}

void OscilloscopePage::onExport() {
    const QString proposed = FileDialogs::timedName(QStringLiteral("wave_"), QStringLiteral("csv"));
    const QString path = FileDialogs::saveFileName(this, tr("Export CSV"), tr("CSV Files(*.csv)"), proposed);
    if (path.isEmpty())
        return;
    QString error;
    if (m_plot->exportCsv(path, &error))
        Helper::instance()->postStatus(tr("Waveform exported to %1").arg(path));
    else
        Helper::instance()->showError(tr("Cannot export to %1: %2").arg(path, error));
}
