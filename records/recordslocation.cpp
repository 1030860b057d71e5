#include "records/recordslocation.h"

#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace {

QString decoded(const QString& text) {
    return QUrl::fromPercentEncoding(text.toUtf8());
}

}  // namespace

RecordsLocation RecordsLocation::sqlite(const QString& path) {
    RecordsLocation location;
    location.kind = Kind::Sqlite;
    location.path = path;
    return location;
}

RecordsLocation RecordsLocation::parse(const QString& text, QString* error) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QString rest;
    for (const char* scheme : {"postgresql://", "postgres://"}) {
        if (trimmed.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            rest = trimmed.mid(int(qstrlen(scheme)));
    }
    if (rest.isNull()) {
        QString path = trimmed;
        if (path.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive))
            path = path.mid(7);
        // "sqlite:///abs/path" and "sqlite://rel" read like URLs; the path is what follows.
        if (path.startsWith(QLatin1String("//")))
            path = path.mid(2);
        if (path.isEmpty()) {
            *error = tr("No database file named in \"%1\".").arg(text);
            return {};
        }
        return sqlite(path);
    }

    // Written out by hand: QUrl refuses a host that is a socket directory.
    RecordsLocation location;
    location.kind = Kind::Postgres;
    QString query;
    const int queryAt = rest.indexOf(QLatin1Char('?'));
    if (queryAt >= 0) {
        query = rest.mid(queryAt + 1);
        rest = rest.left(queryAt);
    }
    const int slash = rest.indexOf(QLatin1Char('/'));
    QString authority = slash >= 0 ? rest.left(slash) : rest;
    location.database = decoded(slash >= 0 ? rest.mid(slash + 1) : QString());
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        const int colon = userInfo.indexOf(QLatin1Char(':'));
        location.user = decoded(colon >= 0 ? userInfo.left(colon) : userInfo);
        if (colon >= 0)
            location.password = decoded(userInfo.mid(colon + 1));
    }
    QString host = authority;
    if (host.startsWith(QLatin1Char('['))) {  // [IPv6]:port
        const int close = host.indexOf(QLatin1Char(']'));
        if (close < 0) {
            *error = tr("The server address in \"%1\" is not valid.").arg(text);
            return {};
        }
        const QString after = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (after.startsWith(QLatin1Char(':')))
            authority = after.mid(1);
        else
            authority.clear();
        location.host = host;
    } else {
        const int colon = host.lastIndexOf(QLatin1Char(':'));
        location.host = decoded(colon >= 0 ? host.left(colon) : host);
        authority = colon >= 0 ? host.mid(colon + 1) : QString();
    }
    if (!authority.isEmpty()) {
        bool ok = false;
        location.port = authority.toInt(&ok);
        if (!ok || location.port <= 0 || location.port > 65535) {
            *error = tr("The port in \"%1\" is not valid.").arg(text);
            return {};
        }
    }
    const QUrlQuery items(query);
    for (const auto& item : items.queryItems(QUrl::FullyDecoded)) {
        if (item.first == QLatin1String("host")) {
            location.host = item.second;
        } else if (item.first == QLatin1String("user")) {
            location.user = item.second;
        } else if (item.first == QLatin1String("password")) {
            location.password = item.second;
        } else if (item.first == QLatin1String("dbname")) {
            location.database = item.second;
        } else if (item.first == QLatin1String("port")) {
            bool ok = false;
            location.port = item.second.toInt(&ok);
            if (!ok || location.port <= 0 || location.port > 65535) {
                *error = tr("The port in \"%1\" is not valid.").arg(text);
                return {};
            }
        } else {
            // The client library reads "key=value;..." pairs: neither may carry a separator.
            const bool plainKey =
                !item.first.isEmpty() && std::all_of(item.first.begin(), item.first.end(), [](QChar c) {
                    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('_');
                });
            if (!plainKey || item.second.contains(QLatin1Char(';')) ||
                item.second.contains(QLatin1Char('='))) {
                *error = tr("The setting \"%1\" in \"%2\" is not valid.").arg(item.first, text);
                return {};
            }
            location.options << item.first + QLatin1Char('=') + item.second;
        }
    }
    if (location.database.isEmpty()) {
        *error = tr("No database named in \"%1\" (postgresql://user@host/database).").arg(text);
        return {};
    }
    return location;
}

QString RecordsLocation::display() const {
    switch (kind) {
        case Kind::None:
            return QString();
        case Kind::Sqlite:
            return path;
        case Kind::Postgres:
            break;
    }
    QString host = this->host;
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    else if (host.startsWith(QLatin1Char('/')))
        host = QString::fromUtf8(QUrl::toPercentEncoding(host));
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + QLatin1Char('@');
    text += host;
    if (port > 0)
        text += QLatin1Char(':') + QString::number(port);
    return text + QLatin1Char('/') + database;
}

bool RecordsLocation::operator==(const RecordsLocation& o) const {
    return kind == o.kind && path == o.path && host == o.host && port == o.port && user == o.user &&
           password == o.password && database == o.database && options == o.options;
}
