#pragma once

#include <QDialog>
#include <QPointer>

namespace kx {
class DataObject;
}
class QComboBox;
class QPushButton;

// "Select channel": one row per scope channel with the parameter it shows and its colour, and
// the legend switch. Edits the channel settings of one device record as the user chooses, and
// keeps the choices in the configuration for the next start.
// Only one is open at a time: open() raises the open one instead of making another.
class ChannelDialog : public QDialog {
    Q_OBJECT

public:
    // Shows the dialog for device, or raises the one already open; returns it.
    static ChannelDialog* open(kx::DataObject* device, QWidget* parent);

private:
    ChannelDialog(kx::DataObject* device, QWidget* parent);
    void updateSwatch(int row);

    kx::DataObject* m_device;
    kx::DataObject* m_settings;
    QVector<QPushButton*> m_colorButtons;
    static QPointer<ChannelDialog> s_open;
};
