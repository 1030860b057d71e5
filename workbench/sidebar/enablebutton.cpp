#include "workbench/sidebar/enablebutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

namespace {
// The animation's value runs over this many steps; the knob covers its travel in them.
constexpr int kSteps = 25;
constexpr int kDurationMs = 200;
const QColor kTrackOn(141, 185, 244);
const QColor kTrackOff(189, 193, 198);
const QColor kKnobOn(26, 115, 232);
const QColor kKnobOff(221, 221, 221);
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
            [this](const QVariant& value) { moveSlider(value, true); });
}

QSize EnableButton::sizeHint() const {
    return QSize(44, 22);
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

void EnableButton::moveSlider(const QVariant& value, bool need_update) {
    const int v = value.toInt();
    const int travel = width() - height();
    m_knob = (m_on ? v : kSteps - v) * travel / kSteps;
    if (need_update)
        update();
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
    const int h = height();
    const int w = width();
    if (w < h)
        return;
    // A resize moves the ends of the track: the knob follows before it is drawn.
    if (w != m_paintedWidth) {
        m_paintedWidth = w;
        moveSlider(m_animation->currentValue(), false);
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal trackH = 0.6 * h;
    const QRectF track(h / 2.0, (h - trackH) / 2.0, w - h, trackH);
    p.setBrush(m_on ? kTrackOn : kTrackOff);
    p.drawRoundedRect(track, trackH / 2, trackH / 2);
    p.setBrush(m_on ? kKnobOn : kKnobOff);
    p.drawEllipse(QRectF(m_knob, 0, h, h));
}
