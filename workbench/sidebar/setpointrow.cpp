#include "workbench/sidebar/setpointrow.h"

#include "framework/data/dataobject.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

SetpointRow::SetpointRow(QLabel* label, QSlider* slider, QDoubleSpinBox* spin, QPushButton* reset,
                         QObject* parent)
    : QObject(parent), m_label(label), m_slider(slider), m_spin(spin), m_reset(reset) {}

int SetpointRow::sliderFor(double x) const {
    const double span = m_spin->maximum() - m_spin->minimum();
    // A collapsed range (a model without that setting) has no position to speak of; dividing
    // by it would turn NaN into an undefined integer.
    if (!(span > 0) || !std::isfinite(span))
        return m_slider->minimum();
    const double v =
        m_slider->minimum() + (x - m_spin->minimum()) / span * (m_slider->maximum() - m_slider->minimum());
    return int(qBound(double(m_slider->minimum()), v, double(m_slider->maximum())));
}

double SetpointRow::valueFor(int position) const {
    const int steps = m_slider->maximum() - m_slider->minimum();
    if (steps <= 0)
        return m_spin->minimum();
    return m_spin->minimum() +
           (m_spin->maximum() - m_spin->minimum()) / steps * (position - m_slider->minimum());
}

void SetpointRow::unbind() {
    for (const QMetaObject::Connection& c : qAsConst(m_connections))
        disconnect(c);
    m_connections.clear();
    m_node = nullptr;
}

void SetpointRow::writeQuietly(double x) {
    if (!m_node)
        return;
    m_node->quiet(true);
    m_node->set(parent(), x);
    m_node->quiet(false);
}

void SetpointRow::showSlider(double x) {
    const QSignalBlocker block(m_slider);
    m_slider->setValue(sliderFor(x));
}

void SetpointRow::bind(kx::DataObject* node) {
    unbind();
    if (!node || node->isEmpty())
        return;
    m_node = node;
    m_connections << connect(node, &kx::DataObject::changed, this, [this](const QVariant& value) {
        const double x = value.toDouble();
        {
            const QSignalBlocker block(m_spin);
            m_spin->setValue(x);
        }
        showSlider(m_spin->value());
    });
    m_connections << connect(m_spin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
                             [this](double x) {
                                 writeQuietly(x);
                                 showSlider(x);
                             });
    m_connections << connect(m_slider, &QSlider::valueChanged, this, [this](int v) {
        const double x = valueFor(v);
        writeQuietly(x);
        const QSignalBlocker block(m_spin);
        m_spin->setValue(x);
    });
    m_connections << connect(m_reset, &QPushButton::clicked, this, [this] {
        if (m_node)
            m_node->set(parent(), 0);
    });
    node->trigger();
}

void SetpointRow::setRange(double min, double max) {
    // The spin box clamps its value to the new range; the record follows what is shown.
    const double before = m_spin->value();
    {
        const QSignalBlocker block(m_spin);
        m_spin->setRange(min, max);
    }
    if (m_spin->value() != before)
        writeQuietly(m_spin->value());
    showSlider(m_spin->value());
}

void SetpointRow::setVisible(bool visible) {
    m_label->setVisible(visible);
    m_slider->setVisible(visible && m_sliderShown);
    m_spin->setVisible(visible);
    m_reset->setVisible(visible);
}

void SetpointRow::setSliderShown(bool shown) {
    m_sliderShown = shown;
    m_slider->setVisible(shown && !m_spin->isHidden());
}
