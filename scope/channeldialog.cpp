#include "scope/channeldialog.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "scope/scopecontrol.h"
#include "scope/wavedisplay.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

QPointer<ChannelDialog> ChannelDialog::s_open;

ChannelDialog* ChannelDialog::open(kx::DataObject* device, QWidget* parent) {
    if (s_open) {
        s_open->raise();
        s_open->activateWindow();
        return s_open;
    }
    s_open = new ChannelDialog(device, parent);
    s_open->setAttribute(Qt::WA_DeleteOnClose);
    s_open->show();
    return s_open;
}

ChannelDialog::ChannelDialog(kx::DataObject* device, QWidget* parent)
    : QDialog(parent), m_device(device), m_settings(ScopeControl::channelSettings(device)) {
    setObjectName(QStringLiteral("ChannelDialog"));
    setWindowTitle(tr("Select channel"));
    QStringList names;
    for (const ScopeChannelChoice& c : ScopeControl::choices(device))
        names << c.name;
    if (names.isEmpty()) {
        // Before the link knows the table, the names mirrored into the record still show.
        for (kx::DataObject* p : device->c(QStringLiteral("param"))->cdobjs())
            names << p->name();
    }
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(10);
    for (int row = 0; row < 8; ++row) {
        kx::DataObject* channel = m_settings->c(row);
        auto* label = new QLabel(tr("Channel %1").arg(row + 1), this);
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cmbChannel%1").arg(row + 1));
        combo->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
        combo->setMinimumContentsLength(16);
        combo->addItem(tr("None"));
        combo->addItems(names);
        // A channel kept by name (from the last run) shows that parameter where the list has it.
        const QString kept = channel->c(QStringLiteral("name"))->getString();
        const int byName = kept.isEmpty() ? -1 : combo->findText(kept);
        combo->setCurrentIndex(
            byName >= 0 ? byName
                        : qBound(0, channel->r(QStringLiteral("type"))->getInt(0), combo->count() - 1));
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this, row, combo](int index) {
                    ScopeControl::chooseChannel(m_device, row, index,
                                                index > 0 ? combo->itemText(index) : QString());
                });
        auto* color = new QPushButton(this);
        color->setObjectName(QStringLiteral("btnColor%1").arg(row + 1));
        color->setFixedSize(28, 24);
        color->setIconSize(QSize(16, 16));
        connect(color, &QPushButton::clicked, this, [this, row] {
            const QColor chosen =
                QColorDialog::getColor(QColor(m_settings->c(row)->r(QStringLiteral("color"))->getString()),
                                       this, tr("Channel %1").arg(row + 1));
            if (!chosen.isValid())
                return;
            ScopeControl::chooseColor(m_device, row, chosen.name());
            updateSwatch(row);
        });
        m_colorButtons << color;
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
        grid->addWidget(color, row, 2);
        updateSwatch(row);
    }
    layout->addLayout(grid);
    auto* legend = new QCheckBox(tr("Legend"), this);
    legend->setObjectName(QStringLiteral("chbLegend"));
    kx::DataObject* legendNode = kx::d(QStringLiteral("trigger.analyze.oscilloscope.legend"));
    legend->setChecked(legendNode->getBool(false));
    connect(legend, &QCheckBox::toggled, this, [this, legendNode](bool on) { legendNode->set(this, on); });
    layout->addWidget(legend);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void ChannelDialog::updateSwatch(int row) {
    const QString text = m_settings->c(row)->r(QStringLiteral("color"))->getString(QStringLiteral("auto"));
    // "auto" is the colour the plot gives that channel's graph.
    const QColor color = text == QLatin1String("auto") || !QColor(text).isValid()
                             ? waveDisplay::graphColor(row)
                             : QColor(text);
    QPixmap swatch(16, 16);
    swatch.fill(color);
    m_colorButtons[row]->setIcon(QIcon(swatch));
}
