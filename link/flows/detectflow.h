#pragma once

#include <QString>

#include "link/flows/flow.h"

namespace kx {
class DataObject;
}

// Connects to an adapter or a CAN interface (unless the link is already connected) and
// detects the motors: the whole bus, the first motor that answers, or one motor named by CAN
// ID (asked directly first; the bus is scanned only when it stays silent). Every motor found
// is asked for its model, so its set-points can be scaled.
//
// Values: "motors": a list of {"mcu_id": hex text, "can_id": int, "model": int (-1 unknown)},
// in the order of the device records; "cause": "adapter" when the adapter could not be set up.
class DetectFlow : public Flow {
    Q_OBJECT

public:
    struct Options {
        QString address;  // serial device path or "plugin:interface"; empty: the open link
        bool wholeBus = false;
        int canId = -1;         // a motor to ask first (single-motor detection); -1: none
        int timeoutMs = 30000;  // a full scan probes 144 IDs; the adapter may try 11 rates first
        // On a link that is already connected and knows its motors: scan again (true) or
        // report the motors as they are.
        bool rescan = false;
        // Only connect (and set the adapter up): the motors are not looked for. A caller that
        // watches the bus itself, or knows its motors, uses this.
        bool connectOnly = false;
    };

    explicit DetectFlow(const Options& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("detect"); }
    QString activity() const override { return tr("detecting"); }

    // The connected device records (those the bus has now).
    static QList<kx::DataObject*> connectedDevices();

protected:
    FlowResult execute() override;

private:
    bool queryModel(int canId);

    Options m_options;
};
