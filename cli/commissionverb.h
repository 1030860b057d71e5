#pragma once

#include "cli/cliverb.h"

#include <QCoreApplication>

class CommissionRunner;
struct RunRecord;

// trivane-cli commission PLAN.yaml: runs a commissioning plan over one motor or the bus and
// writes the run's report folder. Exit 0 when every motor passed, 1 when one did not (or the
// run could not finish), 2 for a plan or command-line error (nothing is sent then).
class CommissionVerb : public CliVerb {
    Q_DECLARE_TR_FUNCTIONS(CommissionVerb)

public:
    QString name() const override { return QStringLiteral("commission"); }
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;
    bool needsGuiApplication(const QStringList&) const override { return true; }

private:
    // Asks the operator on the terminal; answers yes with --yes.
    bool prompt(CommissionRunner* runner, const QString& text, QString* why) const;
    void printSummary(const RunRecord& record, const QString& folder) const;

    bool m_yes = false;
    bool m_json = false;
};
