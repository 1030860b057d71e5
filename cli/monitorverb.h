#pragma once

#include "cli/cliverb.h"

// trivane-cli monitor: prints every record of the bus, decoded, from the moment the port opens
// (detection included) until SIGINT/SIGTERM or --seconds; --log records every frame as a
// candump or ASC file; the per-ID statistics follow on stderr at the end.
class MonitorVerb : public CliVerb {
public:
    QString name() const override { return QStringLiteral("monitor"); }
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;
};
