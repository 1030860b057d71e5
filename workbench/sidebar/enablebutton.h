#pragma once

#include <QVariant>
#include <QWidget>

class QVariantAnimation;

// The sliding on/off switch: a pill-shaped track with a round knob that glides to the side
// of the new state. A click flips the state and announces it; setSwitch() only shows a state
// (restoring a device's state must not send commands).
class EnableButton : public QWidget {
    Q_OBJECT

public:
    explicit EnableButton(QWidget* parent = nullptr);

    bool isOn() const { return m_on; }
    // Shows on; animates when it differs from the current state or force is set. Never emits.
    void setSwitch(bool on, bool force);
    int knobPosition() const { return m_knob; }

    QSize sizeHint() const override;

signals:
    void enabled(bool is_enable);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void runAnimation();
    void moveSlider(const QVariant& value, bool need_update);

    bool m_on = false;
    int m_knob = 0;
    int m_paintedWidth = -1;
    QVariantAnimation* m_animation;
};
