#pragma once

#include "cli/cliverb.h"

// trivane-cli convert: the framework's convert command on the command line.
class ConvertVerb : public CliVerb {
public:
    QString name() const override;
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;
};
