#pragma once

#include "link/flows/flowresult.h"

#include "cli/cliverb.h"

class LinkSession;
class QCommandLineParser;

// The motor verbs of trivane-cli (scan, mode, run-mode, mit, sdo, jog, zero, clear-alarm,
// set-can-id, calibrate): one class, one instance per verb, told apart by their kind. Each
// opens a LinkSession, acts through the link commands and waits for the outcome.
class LinkVerb : public CliVerb {
public:
    enum class Kind { Scan, Mode, RunMode, Mit, Sdo, Jog, Zero, ClearAlarm, SetCanId, Calibrate };

    explicit LinkVerb(Kind kind);

    QString name() const override;
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;

private:
    // Checks the verb's own arguments before the port is touched; false on a usage error.
    bool parseArguments(const QStringList& args, QString* error);
    int act(LinkSession* session);
    int scan(LinkSession* session);
    int calibrate(LinkSession* session);
    // Ends the verb with a flow's result: its reason on stderr when it failed.
    static int finishFlow(LinkSession* session, const FlowResult& result);

    Kind m_kind;
    QList<double> m_numbers;
    QString m_word;
    bool m_uint = false;
};
