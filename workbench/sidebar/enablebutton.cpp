#include "workbench/sidebar/enablebutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

namespace {
// The animation's value runs over this many steps; the knob covers its travel in them.
constexpr int kSteps = 25;
constexpr int kDurationMs = 200;
}  // namespace

EnableButton::EnableButton(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    m_animation = new QVariantAnimation(this);
    m_animation->setStartValue(0);
    m_animation->setEndValue(kSteps);
    m_animation->setDuration(kDurationMs);
    // Created finished: the first paint reads the end value, so the knob rests at its side.
    m_animation->setCurrentTime(kDurationMs);
    connect(m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { moveSlider(value); });
}

QSize EnableButton::sizeHint() const {
    return QSize(44, 22);
}

void EnableButton::setMargins(int left, int top, int right, int bottom) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    update();
}

void EnableButton::setSwitch(bool on, bool force) {
    if (on == m_on && !force)
        return;
    m_on = on;
    runAnimation();
}

void EnableButton::runAnimation() {
    m_animation->stop();
    m_animation->start();
}

void EnableButton::moveSlider(QVariant value, bool need_update) {
    const int v = value.toInt();
    const int travel = (width() - m_left - m_right) - (height() - m_top - m_bottom);
    m_knob = (m_on ? v : kSteps - v) * travel / kSteps;
    if (need_update)
        update();
}

void EnableButton::moveSlider(QVariant value) {
    moveSlider(value, true);
}

void EnableButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_knob = m_on ? width() - height() : 0;
    m_on = !m_on;
    runAnimation();
    emit enabled(m_on);
}

void EnableButton::paintEvent(QPaintEvent*) {
    const int h = height() - m_top - m_bottom;
    const int inner = width() - m_left - m_right;
    if (inner < h)
        return;
    // A resize moves the ends of the track: the knob follows before it is drawn.
    if (width() != m_paintedWidth) {
        m_paintedWidth = width();
        moveSlider(m_animation->currentValue(), false);
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal trackH = 0.6 * h;
    const QRectF track(m_left + h / 2.0, m_top + (h - trackH) / 2.0, inner - h, trackH);
    p.setBrush(m_on ? m_trackOn : m_trackOff);
    p.drawRoundedRect(track, trackH / 2, trackH / 2);
    p.setBrush(m_on ? m_knobOn : m_knobOff);
    p.drawEllipse(QRectF(m_left + m_knob, m_top, h, h));
}
