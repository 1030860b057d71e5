#include "chrome/titlebar.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>

static QPushButton* captionButton(const QString& name, const QString& icon, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(10, 10));
    button->setFixedSize(40, 30);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

TitleBar::TitleBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TitleBar"));
    setAttribute(Qt::WA_StyledBackground);
    setFixedHeight(30);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_left = new QHBoxLayout;
    m_center = new QHBoxLayout;
    m_right = new QHBoxLayout;
    for (QHBoxLayout* slot : {m_left, m_center, m_right}) {
        slot->setContentsMargins(0, 0, 0, 0);
        slot->setSpacing(0);
    }
    layout->addLayout(m_left);
    layout->addStretch(1);
    layout->addLayout(m_center);
    layout->addStretch(1);
    layout->addLayout(m_right);

    m_btnMinimize =
        captionButton(QStringLiteral("btnMinimize"), QStringLiteral(":/images/window/minimize.png"), this);
    m_btnMaximize =
        captionButton(QStringLiteral("btnMaximize"), QStringLiteral(":/images/window/maximize.png"), this);
    m_btnClose = captionButton(QStringLiteral("btnClose"), QStringLiteral(":/images/window/close.png"), this);
    m_btnMinimize->setToolTip(tr("Minimize"));
    m_btnMaximize->setToolTip(tr("Maximize"));
    m_btnClose->setToolTip(tr("Close"));
    layout->addWidget(m_btnMinimize);
    layout->addWidget(m_btnMaximize);
    layout->addWidget(m_btnClose);

    connect(m_btnMinimize, &QPushButton::clicked, this, &TitleBar::minimizeRequested);
    connect(m_btnMaximize, &QPushButton::clicked, this, &TitleBar::maximizeToggled);
    connect(m_btnClose, &QPushButton::clicked, this, &TitleBar::closeRequested);
}

void TitleBar::placeIn(QHBoxLayout* slot, QWidget* widget) {
    while (QLayoutItem* item = slot->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (widget)
        slot->addWidget(widget);
}

void TitleBar::setLeftWidget(QWidget* widget) {
    placeIn(m_left, widget);
}
void TitleBar::setCenterWidget(QWidget* widget) {
    placeIn(m_center, widget);
}
void TitleBar::setRightWidget(QWidget* widget) {
    placeIn(m_right, widget);
}

void TitleBar::updateMaximizeButton(bool maximized) {
    m_btnMaximize->setIcon(QIcon(maximized ? QStringLiteral(":/images/window/restore.png")
                                           : QStringLiteral(":/images/window/maximize.png")));
    m_btnMaximize->setToolTip(maximized ? tr("Restore") : tr("Maximize"));
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    QWidget* top = window();
    // Prefer the window manager's own move (snapping, multi-screen); without one (no WM
    // under Xvfb, some Wayland set-ups) move by hand.
    if (top->windowHandle() && top->windowHandle()->startSystemMove())
        return;
    if (top->isMaximized())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPos() - top->frameGeometry().topLeft();
}

void TitleBar::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPos() - m_dragOffset);
    QWidget::mouseMoveEvent(event);
}

void TitleBar::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void TitleBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit maximizeToggled();
}
