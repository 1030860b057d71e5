#pragma once

#include <QWidget>

class QHBoxLayout;
class QPushButton;

// The window's own title bar: left, centre and right slots for the shell's parts and the
// minimise/maximise/restore/close caption buttons. Dragging it moves the window, a double
// click toggles maximised.
class TitleBar : public QWidget {
    Q_OBJECT

public:
    explicit TitleBar(QWidget* parent = nullptr);

    void setLeftWidget(QWidget* widget);
    void setCenterWidget(QWidget* widget);
    void setRightWidget(QWidget* widget);

    // Shows "restore" instead of "maximize" while the window is maximised.
    void updateMaximizeButton(bool maximized);

signals:
    void minimizeRequested();
    void maximizeToggled();
    void closeRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void placeIn(QHBoxLayout* slot, QWidget* widget);

    QHBoxLayout* m_left;
    QHBoxLayout* m_center;
    QHBoxLayout* m_right;
    QPushButton* m_btnMinimize;
    QPushButton* m_btnMaximize;
    QPushButton* m_btnClose;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
