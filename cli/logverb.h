#pragma once

#include "cli/cliverb.h"

// trivane-cli log: trace files without a port. "convert IN OUT" rewrites a candump log as ASC
// or back (the format follows each name); "show FILE" prints it decoded with the statistics.
class LogVerb : public CliVerb {
public:
    QString name() const override { return QStringLiteral("log"); }
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;
};
