#include "chrome/framelesswindow.h"

#include "chrome/chromestyle.h"
#include "chrome/titlebar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWindow>

FramelessWindow::FramelessWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FramelessWindow"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("QWidget#FramelessWindow { background:%1; }")
                      .arg(ChromeStyle::background(ChromeStyle::currentTheme())));
    setMouseTracking(true);
    setMinimumSize(480, 320);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    m_layout->setSpacing(0);
    m_titleBar = new TitleBar(this);
    // The window shows a resize cursor while the mouse is over its border; without a cursor
    // of their own the parts inside would inherit it and keep it after the mouse moved in.
    m_titleBar->setCursor(Qt::ArrowCursor);
    m_layout->addWidget(m_titleBar);

    connect(m_titleBar, &TitleBar::minimizeRequested, this, &QWidget::showMinimized);
    connect(m_titleBar, &TitleBar::maximizeToggled, this, &FramelessWindow::toggleMaximized);
    connect(m_titleBar, &TitleBar::closeRequested, this, &QWidget::close);
}

void FramelessWindow::setContentWidget(QWidget* widget) {
    delete m_content;
    m_content = widget;
    if (!widget)
        return;
    if (!widget->testAttribute(Qt::WA_SetCursor))
        widget->setCursor(Qt::ArrowCursor);
    m_layout->addWidget(widget, 1);
}

void FramelessWindow::toggleMaximized() {
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void FramelessWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const bool maximized = isMaximized();
        m_titleBar->updateMaximizeButton(maximized);
        // A maximised window has no edges to grab.
        const int border = maximized ? 0 : kBorder;
        m_layout->setContentsMargins(border, border, border, border);
    }
    QWidget::changeEvent(event);
}

Qt::Edges FramelessWindow::edgesAt(const QPoint& pos) const {
    Qt::Edges edges;
    if (isMaximized())
        return edges;
    if (pos.x() < kBorder)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - kBorder)
        edges |= Qt::RightEdge;
    if (pos.y() < kBorder)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - kBorder)
        edges |= Qt::BottomEdge;
    return edges;
}

void FramelessWindow::updateCursor(Qt::Edges edges) {
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (edges & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

void FramelessWindow::mousePressEvent(QMouseEvent* event) {
    const Qt::Edges edges = edgesAt(event->pos());
    if (event->button() != Qt::LeftButton || !edges)
        return QWidget::mousePressEvent(event);
    if (windowHandle() && windowHandle()->startSystemResize(edges))
        return;
    m_resizeEdges = edges;
    m_pressGlobal = event->globalPos();
    m_pressGeometry = geometry();
}

void FramelessWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!m_resizeEdges) {
        updateCursor(edgesAt(event->pos()));
        return QWidget::mouseMoveEvent(event);
    }
    const QPoint delta = event->globalPos() - m_pressGlobal;
    QRect rect = m_pressGeometry;
    const QSize minimum = minimumSize();
    if (m_resizeEdges & Qt::LeftEdge)
        rect.setLeft(qMin(rect.left() + delta.x(), rect.right() + 1 - minimum.width()));
    if (m_resizeEdges & Qt::RightEdge)
        rect.setRight(qMax(rect.right() + delta.x(), rect.left() - 1 + minimum.width()));
    if (m_resizeEdges & Qt::TopEdge)
        rect.setTop(qMin(rect.top() + delta.y(), rect.bottom() + 1 - minimum.height()));
    if (m_resizeEdges & Qt::BottomEdge)
        rect.setBottom(qMax(rect.bottom() + delta.y(), rect.top() - 1 + minimum.height()));
    setGeometry(rect);
}

void FramelessWindow::mouseReleaseEvent(QMouseEvent* event) {
    m_resizeEdges = {};
    QWidget::mouseReleaseEvent(event);
}
