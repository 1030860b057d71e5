#pragma once

#include <QWidget>

class TitleBar;
class QVBoxLayout;

// A top-level window without the platform frame: its own title bar on top, a content
// widget below, and resizing from a thin border along every edge.
class FramelessWindow : public QWidget {
    Q_OBJECT

public:
    explicit FramelessWindow(QWidget* parent = nullptr);

    TitleBar* titleBar() const { return m_titleBar; }
    // The window takes ownership; a previous content widget is deleted.
    void setContentWidget(QWidget* widget);
    QWidget* contentWidget() const { return m_content; }

    void toggleMaximized();

    static constexpr int kBorder = 4;

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Qt::Edges edgesAt(const QPoint& pos) const;
    void updateCursor(Qt::Edges edges);

    TitleBar* m_titleBar;
    QVBoxLayout* m_layout;
    QWidget* m_content = nullptr;
    Qt::Edges m_resizeEdges;
    QPoint m_pressGlobal;
    QRect m_pressGeometry;
};
