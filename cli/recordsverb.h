#pragma once

#include "cli/cliverb.h"
#include "commission/runrecord.h"
#include "records/recordssettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <memory>

class RecordsStore;

// trivane-cli records list|show|export|sync: the commissioning history of the station's file
// and, when one is configured, of the line's server.
class RecordsVerb : public CliVerb {
    Q_DECLARE_TR_FUNCTIONS(RecordsVerb)

public:
    QString name() const override { return QStringLiteral("records"); }
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;
    bool needsGuiApplication(const QStringList& arguments) const override;

private:
    int list(const QCommandLineParser& parser);
    int show(const QString& run);
    int exportRun(const QString& run, const QCommandLineParser& parser);
    int sync();
    // Finds a run by its UUID or a unique start of it, the station's file first; on failure
    // returns the exit code after printing why, else -1.
    int findRun(const QString& text, RunRecord* run);

    RecordsSettings m_settings;
    bool m_json = false;
    bool m_localOnly = false;
};
