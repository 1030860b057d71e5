#pragma once

#include <QColor>
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
    void setMargins(int left, int top, int right, int bottom);
    int knobPosition() const { return m_knob; }

    QSize sizeHint() const override;

signals:
    void enabled(bool is_enable);

public slots:
    void moveSlider(QVariant value, bool need_update);
    void moveSlider(QVariant value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void runAnimation();

    bool m_on = false;
    int m_knob = 0;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    int m_paintedWidth = -1;
    QColor m_trackOn{141, 185, 244};
    QColor m_trackOff{189, 193, 198};
    QColor m_knobOn{26, 115, 232};
    QColor m_knobOff{221, 221, 221};
    QVariantAnimation* m_animation;
};
