#pragma once

// A plain second connection to a records database, for tests that look beneath the store or
// damage what it wrote.

#include "records/recordsbackend.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

class RawDb {
public:
    explicit RawDb(const RecordsLocation& location) {
        static std::atomic<int> counter{0};
        m_name = QStringLiteral("raw-%1").arg(++counter);
        auto backend = RecordsBackend::forLocation(location);
        m_db = QSqlDatabase::addDatabase(backend->driverName(), m_name);
        backend->configure(&m_db, location);
        m_db.open();
    }
    ~RawDb() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    bool isOpen() const { return m_db.isOpen(); }
    QString lastError() const { return m_error; }

    bool exec(const QString& sql, const QVariantList& binds = {}) {
        QSqlQuery q(m_db);
        bool ok = false;
        // The server prepares only queries, not schema statements.
        if (binds.isEmpty()) {
            ok = q.exec(sql);
        } else {
            q.prepare(sql);
            for (const QVariant& v : binds)
                q.addBindValue(v);
            ok = q.exec();
        }
        if (ok)
            return true;
        m_error = q.lastError().text();
        return false;
    }
    // The first column of the first row; an invalid variant on failure.
    QVariant value(const QString& sql, const QVariantList& binds = {}) {
        QSqlQuery q(m_db);
        q.prepare(sql);
        for (const QVariant& v : binds)
            q.addBindValue(v);
        if (!q.exec() || !q.next()) {
            m_error = q.lastError().text();
            return QVariant();
        }
        return q.value(0);
    }
    QVariantList column(const QString& sql) {
        QVariantList values;
        QSqlQuery q(m_db);
        if (!q.exec(sql))
            m_error = q.lastError().text();
        while (q.next())
            values << q.value(0);
        return values;
    }
    QSqlDatabase& db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
    QString m_error;
};
