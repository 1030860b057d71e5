#pragma once

#include <QVariantList>

#include "link/flows/flow.h"

// Reads one motor's parameter table into the parameter store: the description (taken again
// when one arrives broken), or, verified, the description agreed on twice and every value
// read until two reads agree (see ParamVerifier) — what a backup and a commissioning record
// must rest on.
//
// Values: "entries": a list of {"code", "group", "name", "type", "value" (text), "writable"};
// verified also "descriptions" (how many descriptions it took).
class ParamReadFlow : public Flow {
    Q_OBJECT

public:
    ParamReadFlow(int canId, bool verified, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("read-params"); }
    QString activity() const override { return tr("reading its parameters"); }

    // The store's table of the motor, as the values above list it.
    static QVariantList entriesOf(int canId);

protected:
    FlowResult execute() override;

private:
    bool m_verified;
};
