#pragma once

#include "cli/cliverb.h"

// trivane-cli flash <file>: sends a firmware image to the target motor and exits 0 only
// when the motor's end check accepts it. Progress goes to stderr.
class FlashVerb : public CliVerb {
public:
    QString name() const override { return QStringLiteral("flash"); }
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;
};
