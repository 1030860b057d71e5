#pragma once

#include "cli/cliverb.h"

// trivane-cli estop [--all]: brake mode to the target motor, or to every motor on the bus.
// The brake frames go out back to back before any answer is awaited, so one silent motor
// delays nobody's stop; each motor's brake is then confirmed through the mode command.
class EstopVerb : public CliVerb {
public:
    QString name() const override;
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;
};
