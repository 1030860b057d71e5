#pragma once

#include "cli/cliverb.h"

// trivane-cli info: the target motor's identity (name, MCU ID, CAN ID) and its model code,
// what the device info page shows.
class InfoVerb : public CliVerb {
public:
    QString name() const override;
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;
};
