#include "app/shell/statusbar.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    setAttribute(Qt::WA_StyledBackground);
    setMinimumHeight(18);
    setMaximumHeight(18);
    setStyleSheet(QStringLiteral("QWidget#StatusBar {\nborder-top:1px solid #1e1e1e;\n}"));

    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 0, 9, 0);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_zoomIcon = new QLabel(this);
    m_zoomIcon->setObjectName(QStringLiteral("label_2"));
    m_zoomIcon->setPixmap(QPixmap(QStringLiteral(":/images/zoom.png")));
    m_zoomIcon->setMaximumSize(10, 10);
    m_zoomIcon->setScaledContents(true);
    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("comboBox"));
    m_zoom->addItems({QStringLiteral("0.25x"), QStringLiteral("0.5x"), QStringLiteral("1.0x"),
                      QStringLiteral("1.25x"), QStringLiteral("1.5x"), QStringLiteral("1.75x"),
                      QStringLiteral("2x"), QStringLiteral("2.5x"), QStringLiteral("3x"),
                      QStringLiteral("4x")});
    m_zoom->setCurrentIndex(2);
    layout->addWidget(m_label);
    // Runs this station still has to send to the line's records server, while there are any.
    m_waiting = new QLabel(this);
    m_waiting->setObjectName(QStringLiteral("lblRecordsWaiting"));
    m_waiting->setVisible(false);
    layout->addWidget(m_waiting);
    layout->addWidget(m_zoomIcon);
    layout->addWidget(m_zoom);
    // The zoom selector has nothing to zoom yet: the display scale is set in config.xml.
    m_zoomIcon->setVisible(false);
    m_zoom->setVisible(false);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { m_label->setText(QString()); });
    // Automatic connection: a post from the link thread arrives queued.
    connect(kx::d(QStringLiteral("wnd.status.msg")), &kx::DataObject::changed, this,
            [this](const QVariant& var) { showStatus(var); });
    kx::DataObject* waiting = kx::d(QStringLiteral("wnd.status.records_waiting"));
    connect(waiting, &kx::DataObject::changed, this,
            [this](const QVariant& var) { showWaiting(var.toInt()); });
    showWaiting(waiting->getInt(-1));
}

QString StatusBar::text() const {
    return m_label->text();
}

void StatusBar::showStatus(QVariant var) {
    m_label->setText(var.toString());
    m_timer->start(kShowMs);
}

QString StatusBar::waitingText() const {
    return m_waiting->isHidden() ? QString() : m_waiting->text();
}

void StatusBar::showWaiting(int count) {
    m_waiting->setText(tr("%1 runs waiting to be sent").arg(count));
    m_waiting->setVisible(count > 0);
}
