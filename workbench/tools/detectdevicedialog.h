#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;

// Where the user picks the adapter's serial port. Adapters of the ch340 kind come first, then
// the other ports, then the stable /dev/serial/by-id links, then the CAN interfaces the
// installed QtSerialBus plug-ins report; the port box is editable, so any device path works (a
// pseudo-terminal of the simulated bench included) and so does a typed CAN interface
// (virtualcan:tcp://127.0.0.1:PORT/can0), and the last port used is preselected.
class DetectDeviceDialog : public QDialog {
    Q_OBJECT

public:
    // What the dialog needs to know of one enumerated port.
    struct PortInfo {
        QString name;  // e.g. "ttyUSB0"
        QString description;
        bool hasIds = false;
        quint16 vendor = 0;
        quint16 product = 0;
    };
    // One entry of the port box: its text and the port it connects to.
    struct PortEntry {
        QString text;
        QString port;
    };

    explicit DetectDeviceDialog(QWidget* parent = nullptr);

    // The port box's entries in their order; links maps each by-id link path to its target;
    // canInterfaces are addresses ("socketcan:can0").
    static QList<PortEntry> orderPorts(const QList<PortInfo>& ports,
                                       const QList<QPair<QString, QString>>& links,
                                       const QStringList& canInterfaces = {});
    static bool isAdapter(const PortInfo& port);

public slots:
    // Rebuilds the port list from the system's ports and CAN interfaces.
    void detectPort();
    void detectDevice() {}

private:
    void onConnect();
    // The port the user chose: the entry's port, or the path typed into the box.
    QString chosenPort() const;

    QComboBox* m_cmbPort;
};
