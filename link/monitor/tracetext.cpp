#include "link/monitor/tracetext.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace TraceText {

QString time(qint64 us) {
    return QStringLiteral("%1.%2").arg(us / 1000000).arg(us % 1000000, 6, 10, QLatin1Char('0'));
}

QString canId(int id) {
    if (id < 0)
        return QStringLiteral("-");
    if (id == 0xFD)
        return QStringLiteral("host");
    if (id == 0xFE)
        return QStringLiteral("all");
    return QString::number(id);
}

QString data(const TraceRecord& r) {
    if (!r.isFrame())
        return QString::fromLatin1(r.bytes.toHex(' ')).toUpper();
    return QString::fromLatin1(
               QByteArray(reinterpret_cast<const char*>(r.frame.data.data()), qMin<int>(r.frame.length, 8))
                   .toHex(' '))
        .toUpper();
}

QString identifier(const TraceRecord& r) {
    return r.isFrame() ? QStringLiteral("%1").arg(r.frame.id, 8, 16, QLatin1Char('0')).toUpper() : QString();
}

QString line(const TraceRecord& r, const DecodedRecord& d) {
    const QString route =
        d.source < 0 ? QString() : canId(d.source) + QStringLiteral("->") + canId(d.destination);
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(time(r.timeUs), r.isTx() ? QStringLiteral("Tx") : QStringLiteral("Rx"))
        .arg(d.type, -14)
        .arg(route, -9)
        .arg(d.fields);
}

QByteArray json(const TraceRecord& r, const DecodedRecord& d) {
    QJsonObject o;
    o.insert(QStringLiteral("time_us"), double(r.timeUs));  // exact: below 2^53
    o.insert(QStringLiteral("dir"), r.isTx() ? QStringLiteral("tx") : QStringLiteral("rx"));
    o.insert(QStringLiteral("type"), d.type);
    if (r.isFrame()) {
        o.insert(QStringLiteral("id"), identifier(r));
        o.insert(QStringLiteral("from"), d.source);
        o.insert(QStringLiteral("to"), d.destination);
    }
    o.insert(QStringLiteral("data"), data(r));
    o.insert(QStringLiteral("fields"), d.fields);
    o.insert(QStringLiteral("failed"), d.failed);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

}  // namespace TraceText
