#pragma once

// A private PostgreSQL server for one test program: a cluster in a temporary folder that listens
// only on a Unix socket in that folder, so parallel tests never meet on a port. PostgreSQL
// refuses to run as root, and CI runs as root: then the server runs as the postgres user.

#include "records/recordslocation.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

class PgTestServer {
public:
    PgTestServer() : m_dir(QStringLiteral("/tmp/trv-pg-XXXXXX")) {}
    ~PgTestServer() { stop(); }
    PgTestServer(const PgTestServer&) = delete;
    PgTestServer& operator=(const PgTestServer&) = delete;

    // The newest installed server's programs; empty when PostgreSQL is not installed.
    static QString binDir() {
        QDir base(QStringLiteral("/usr/lib/postgresql"));
        QStringList versions = base.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(),
                  [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
        for (const QString& v : versions) {
            const QString bin = base.filePath(v + QStringLiteral("/bin"));
            if (QFile::exists(bin + QStringLiteral("/initdb")) &&
                QFile::exists(bin + QStringLiteral("/pg_ctl")))
                return bin;
        }
        return QString();
    }

    // initdb and start; fsync off unless `durable`, since the tests kill servers, not machines.
    bool setUp(QString* error, bool durable = false) {
        m_bin = binDir();
        if (m_bin.isEmpty()) {
            *error = QStringLiteral("PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb)");
            return false;
        }
        if (!m_dir.isValid()) {
            *error = QStringLiteral("no temporary directory");
            return false;
        }
        if (::geteuid() == 0) {
            const passwd* pw = ::getpwnam("postgres");
            if (!pw || ::chown(m_dir.path().toLocal8Bit().constData(), pw->pw_uid, pw->pw_gid) != 0) {
                *error = QStringLiteral("cannot hand the cluster folder to the postgres user");
                return false;
            }
        }
        m_durable = durable;
        if (!run(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-A"), QStringLiteral("trust"),
                  QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-E"),
                  QStringLiteral("UTF8"), QStringLiteral("--no-locale"), QStringLiteral("--no-sync")},
                 error))
            return false;
        return start(error);
    }

    bool start(QString* error) {
        QString options =
            QStringLiteral("-k %1 -c listen_addresses='' -c max_connections=60").arg(m_dir.path());
        if (!m_durable)
            options += QStringLiteral(" -c fsync=off -c synchronous_commit=off -c full_page_writes=off");
        if (!run(QStringLiteral("pg_ctl"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-o"), options, QStringLiteral("-l"),
                  m_dir.path() + QStringLiteral("/log"), QStringLiteral("-w"), QStringLiteral("-t"),
                  QStringLiteral("120"), QStringLiteral("start")},
                 error))
            return false;
        m_running = true;
        return true;
    }

    // "immediate" is a crash as far as the clients can tell: connections drop mid-transaction.
    bool stop(bool immediate = false) {
        if (!m_running)
            return true;
        QString error;
        const bool ok = run(QStringLiteral("pg_ctl"),
                            {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                             immediate ? QStringLiteral("immediate") : QStringLiteral("fast"),
                             QStringLiteral("-w"), QStringLiteral("stop")},
                            &error);
        m_running = !ok;
        return ok;
    }

    bool isRunning() const { return m_running; }
    QString socketDir() const { return m_dir.path(); }

    RecordsLocation location(const QString& database = QStringLiteral("postgres")) const {
        RecordsLocation l;
        l.kind = RecordsLocation::Kind::Postgres;
        l.host = m_dir.path();
        l.user = QStringLiteral("postgres");
        l.database = database;
        return l;
    }
    // The same as a URL, as a user would type it.
    QString url(const QString& database) const {
        return QStringLiteral("postgresql://postgres@%1/%2")
            .arg(QString::fromLatin1(QUrl::toPercentEncoding(m_dir.path())), database);
    }

    // A fresh, empty database.
    QString createDatabase(QString* error) {
        static std::atomic<int> counter{0};
        const QString name = QStringLiteral("t%1").arg(++counter);
        if (!adminExec(QStringLiteral("CREATE DATABASE %1").arg(name), error))
            return QString();
        return name;
    }

    bool adminExec(const QString& sql, QString* error) {
        const QString connection = QStringLiteral("pg-test-admin");
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            db.setHostName(m_dir.path());
            db.setUserName(QStringLiteral("postgres"));
            db.setDatabaseName(QStringLiteral("postgres"));
            if (db.open()) {
                QSqlQuery q(db);
                ok = q.exec(sql);
                if (!ok)
                    *error = q.lastError().text();
            } else {
                *error = db.lastError().text();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return ok;
    }

private:
    QString dataDir() const { return m_dir.path() + QStringLiteral("/data"); }

    bool run(const QString& program, const QStringList& args, QString* error) {
        QProcess p;
        const QString path = m_bin + QLatin1Char('/') + program;
        if (::geteuid() == 0)
            p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                                           QStringLiteral("--"), path} +
                                                   args);
        else
            p.start(path, args);
        if (!p.waitForFinished(180000)) {
            p.kill();
            p.waitForFinished();
            *error = program + QStringLiteral(" did not finish");
            return false;
        }
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            *error = program + QStringLiteral(" failed: ") +
                     QString::fromLocal8Bit(p.readAllStandardError()) +
                     QString::fromLocal8Bit(p.readAllStandardOutput());
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    bool m_durable = false;
    bool m_running = false;
};
