#pragma once

#include "cli/cliverb.h"

#include <QStringList>

class LinkSession;
class ScopeAcquisition;

// trivane-cli scope record: configures the target's scope channels, records the stream for a
// given time into a waveform file (or CSV), stops it, and reports records received and lost.
class ScopeVerb : public CliVerb {
public:
    QString name() const override { return QStringLiteral("scope"); }
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;

private:
    int record(LinkSession* session, ScopeAcquisition* scope);

    QStringList m_channels;
    int m_rate = 0;
    double m_seconds = 0;
    QString m_out;
    bool m_csv = false;
};
