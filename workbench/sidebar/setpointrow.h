#pragma once

#include "framework/data/dataobject.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;

// One set-point of the motion sidebar: a label, a slider, a spin box and a "0" button kept
// in step with one node of the current device's record. Typing or sliding writes the node
// quietly (the record is the store, not a command); a change of the node from elsewhere moves
// both widgets.
class SetpointRow : public QObject {
    Q_OBJECT

public:
    SetpointRow(QLabel* label, QSlider* slider, QDoubleSpinBox* spin, QPushButton* reset,
                QObject* parent = nullptr);

    // Binds to node (the empty node or null unbinds) and shows its value.
    void bind(kx::DataObject* node);
    kx::DataObject* node() const { return m_node.data(); }

    // Keeps the value within the new range and the slider in step with it.
    void setRange(double min, double max);
    void setVisible(bool visible);
    // Rows over the whole single-precision range have no slider to speak of.
    void setSliderShown(bool shown);

    // The slider position showing x, and the value a slider position stands for.
    int sliderFor(double x) const;
    double valueFor(int position) const;

    QLabel* label() const { return m_label; }
    QSlider* slider() const { return m_slider; }
    QDoubleSpinBox* spin() const { return m_spin; }
    QPushButton* reset() const { return m_reset; }

private:
    void unbind();
    void writeQuietly(double x);
    void showSlider(double x);

    QLabel* m_label;
    QSlider* m_slider;
    QDoubleSpinBox* m_spin;
    QPushButton* m_reset;
    bool m_sliderShown = true;
    QPointer<kx::DataObject> m_node;
    QList<QMetaObject::Connection> m_connections;
};
