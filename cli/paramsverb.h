#pragma once

#include "cli/cliverb.h"

#include <QStringList>

#include <functional>

#include "link/param/parambackup.h"

class LinkSession;
class ParamVerifier;
class ParamWalker;

// trivane-cli params dump|get|set|save|factory-reset|backup|diff|restore: the parameter table
// of one motor through the same link feature and walker as the workbench's page.
class ParamsVerb : public CliVerb {
public:
    QString name() const override { return QStringLiteral("params"); }
    QString synopsis() const override;
    QString description() const override;
    int run(const QStringList& arguments) override;

private:
    int act(LinkSession* session, ParamWalker* walker);
    int dump(LinkSession* session, ParamWalker* walker);
    int get(LinkSession* session, ParamWalker* walker);
    int set(LinkSession* session, ParamWalker* walker);
    int backup(LinkSession* session, ParamWalker* walker);
    int diff(LinkSession* session, ParamWalker* walker);
    int restore(LinkSession* session, ParamWalker* walker);
    int diffFiles(LinkSession* session);
    // Reads the table a second time, value by value; false after saying why.
    bool readVerified(LinkSession* session, ParamWalker* walker);
    // Writes, reads back and (save) saves; false after naming what was not confirmed.
    bool apply(LinkSession* session, const QVector<ParamRestorePlan::Write>& writes, bool save);
    // A backup of another motor is a warning, not a refusal.
    void warnAboutOrigin(LinkSession* session, const ParamBackup& file);
    // Runs one walk step to its end; false on failure or time-out.
    bool walk(LinkSession* session, ParamWalker* walker, const std::function<bool()>& start, int timeoutMs);

    QString m_action;
    QStringList m_args;
    bool m_save = false;
    bool m_dryRun = false;
    bool m_force = false;
    bool m_verify = false;
    bool m_json = false;
    QString m_only;
    ParamBackup m_file;  // restore and diff: the backup, read before the port is opened
};
