#include "scope/analyzetools.h"

#include "app/filedialogs.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "link/scope/scopeacquisition.h"
#include "scope/channeldialog.h"
#include "scope/oscilloscopepage.h"
#include "scope/scopecontrol.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

kx::DataObject* wavePathNode() {
    return kx::d(QStringLiteral("temp_analyze"))->c(QStringLiteral("path"));
}

}  // namespace

AnalyzeTools::AnalyzeTools(QWidget* parent) : QWidget(parent), m_device(kx::d().emptyDobj()) {
    setObjectName(QStringLiteral("AnalyzeTools"));
    // The layout sets the width: buttons other screens add to the strip follow right after.
    setMinimumHeight(24);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto button = [this](const char* name, const QString& text, const char* icon) {
        auto* b = new QPushButton(QIcon(QString::fromLatin1(icon)), text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIconSize(QSize(18, 18));
        return b;
    };
    QPushButton* btnNew = button("btnNew", tr("Oscilloscope"), ":/images/wave.png");
    connect(btnNew, &QPushButton::clicked, this,
            [] { kx::d(QStringLiteral("trigger.analyze.oscilloscope.new"))->trigger(); });
    layout->addWidget(btnNew);
    layout->addWidget(separator(this));
    layout->addWidget(new QLabel(tr("Frequency"), this));
    m_spnF = new QSpinBox(this);
    m_spnF->setObjectName(QStringLiteral("spnF"));
    m_spnF->setRange(1, 2000);
    m_spnF->setValue(50);
    m_spnF->setSuffix(tr(" Hz"));
    m_spnF->setMinimumWidth(90);
    layout->addWidget(m_spnF);
    m_btnChannel = button("btnChannel", tr("Channel"), ":/images/motor/channel.png");
    connect(m_btnChannel, &QPushButton::clicked, this, [this] { ChannelDialog::open(m_device, window()); });
    layout->addWidget(m_btnChannel);
    layout->addWidget(separator(this));
    m_btnStart = button("btnStart", tr("Start"), ":/images/motor/start.png");
    connect(m_btnStart, &QPushButton::clicked, this, &AnalyzeTools::onStart);
    layout->addWidget(m_btnStart);
    m_btnStop = button("btnStop", tr("Stop"), ":/images/motor/stop.png");
    connect(m_btnStop, &QPushButton::clicked, this,
            [] { kx::d(QStringLiteral("trigger.analyze.oscilloscope.stop"))->trigger(); });
    layout->addWidget(m_btnStop);
    layout->addWidget(separator(this));
    m_chbSave = new QCheckBox(this);
    m_chbSave->setObjectName(QStringLiteral("chbSave"));
    m_chbSave->setChecked(!wavePathNode()->getString().isEmpty());
    connect(m_chbSave, &QCheckBox::toggled, this, &AnalyzeTools::onSaveToggled);
    layout->addWidget(m_chbSave);
    layout->addStretch(1);
    showWavePath();

    connect(Helper::instance(), &Helper::editDevieDobjChanged, this, &AnalyzeTools::onEditorChanged);
    onEditorChanged();
}

void AnalyzeTools::onEditorChanged() {
    Helper* helper = Helper::instance();
    if (helper->editorType() == QLatin1String(OscilloscopePage::kKind))
        updateSettings(helper->editDeviceDobj());
    else
        clearSettings();
}

void AnalyzeTools::updateSettings(kx::DataObject* dobj) {
    m_device = dobj ? dobj : kx::d().emptyDobj();
    m_spnF->setEnabled(true);
    m_btnChannel->setEnabled(true);
}

void AnalyzeTools::clearSettings() {
    m_device = kx::d().emptyDobj();
    m_spnF->setEnabled(false);
    m_btnChannel->setEnabled(false);
}

void AnalyzeTools::onStart() {
    kx::DataObject* device = m_device->isEmpty() ? Helper::instance()->currentDeviceDobj() : m_device;
    const QString path = m_chbSave->isChecked() ? wavePathNode()->getString() : QString();
    ScopeControl::instance()->start(device, m_spnF->value(), path);
}

void AnalyzeTools::onSaveToggled(bool on) {
    if (on) {
        const QString proposed = FileDialogs::timedName(QStringLiteral("wave_"), QStringLiteral("txt"));
        const QString path =
            FileDialogs::saveFileName(this, tr("Wave file"), tr("TXT Files(*.txt)"), proposed);
        if (path.isEmpty()) {
            const QSignalBlocker block(m_chbSave);
            m_chbSave->setChecked(false);
            return;
        }
        wavePathNode()->set(this, path);
    } else {
        if (ScopeAcquisition* scope = ScopeControl::acquisition())
            scope->closeWaveFile();
        wavePathNode()->set(this, QString());
    }
    showWavePath();
}

void AnalyzeTools::showWavePath() {
    const QString path = wavePathNode()->getString();
    m_chbSave->setText(path.isEmpty() ? tr("Output waveform")
                                      : tr("Output waveform: %1").arg(QFileInfo(path).completeBaseName()));
}
