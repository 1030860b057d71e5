#include "link/param/parambackup.h"

#include "framework/data/atomicfile.h"
#include "framework/data/inputfile.h"
#include "link/canprotocol.h"
#include "link/frames/paramvalue.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ParamBackup", text);
}

const QString kFormat = QStringLiteral("trivane-param-backup");
// A table holds at most 576 entries; a file far beyond that is not a backup.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

}  // namespace

QString ParamBackup::typeName(int type) {
    return type == ParamValue::kTextType ? QStringLiteral("string") : CanProtocol::valueTypeName(type);
}

int ParamBackup::typeOf(const QString& name) {
    if (name == QLatin1String("string"))
        return ParamValue::kTextType;
    for (int t = 0; t <= 9; ++t) {
        if (CanProtocol::valueTypeName(t) == name)
            return t;
    }
    return -1;
}

QString ParamBackup::codeText(quint16 code) {
    return QStringLiteral("0X%1").arg(code, 4, 16, QLatin1Char('0'));
}

std::optional<quint16> ParamBackup::parseCode(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    bool ok = false;
    const uint code = t.toUInt(&ok, 16);
    if (!ok || t.isEmpty() || code > 0xFFFF)
        return std::nullopt;
    return quint16(code);
}

ParamBackup ParamBackup::fromEntries(const QVector<ParamEntry>& entries, quint64 mcuId, int canId,
                                     int modelCode) {
    ParamBackup b;
    b.mcuId = mcuId;
    b.canId = canId;
    b.modelCode = modelCode;
    b.date = QDateTime::currentDateTime();
    for (const ParamEntry& e : entries) {
        if (e.group == 1)
            b.identity.append({e.name, e.value});
        b.items.append({e.code, e.name, e.type, e.value, e.writable()});
    }
    return b;
}

QByteArray ParamBackup::toJson() const {
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormat);
    root.insert(QStringLiteral("version"), 1);
    root.insert(QStringLiteral("date"), date.toString(Qt::ISODate));
    root.insert(QStringLiteral("mcu_id"), QString::number(mcuId, 16));
    root.insert(QStringLiteral("can_id"), canId);
    root.insert(QStringLiteral("model"), modelCode);
    QJsonObject ident;
    for (const auto& pair : identity)
        ident.insert(pair.first, pair.second);
    root.insert(QStringLiteral("identity"), ident);
    QJsonArray list;
    for (const Item& item : items) {
        QJsonObject o;
        o.insert(QStringLiteral("code"), codeText(item.code));
        o.insert(QStringLiteral("name"), item.name);
        o.insert(QStringLiteral("type"), typeName(item.type));
        o.insert(QStringLiteral("value"), item.value);
        o.insert(QStringLiteral("writable"), item.writable);
        list.append(o);
    }
    root.insert(QStringLiteral("entries"), list);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<ParamBackup> ParamBackup::fromJson(const QByteArray& json, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (!doc.isObject())
        return fail(tr("not a JSON object (%1)").arg(parse.errorString()));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat)
        return fail(tr("not a parameter backup"));
    ParamBackup b;
    bool ok = false;
    b.mcuId = root.value(QStringLiteral("mcu_id")).toString().toULongLong(&ok, 16);
    if (!ok)
        return fail(tr("no MCU ID"));
    b.canId = root.value(QStringLiteral("can_id")).toInt(-1);
    b.modelCode = root.value(QStringLiteral("model")).toInt(-1);
    b.date = QDateTime::fromString(root.value(QStringLiteral("date")).toString(), Qt::ISODate);
    const QJsonObject ident = root.value(QStringLiteral("identity")).toObject();
    for (auto it = ident.begin(); it != ident.end(); ++it)
        b.identity.append({it.key(), it.value().toString()});
    // A backup without its list of entries is damaged, not empty: restoring it must not
    // report that there was nothing to do.
    if (!root.value(QStringLiteral("entries")).isArray())
        return fail(tr("the list of entries is missing or damaged"));
    QSet<quint16> seen;
    const QJsonArray list = root.value(QStringLiteral("entries")).toArray();
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        const auto code = parseCode(o.value(QStringLiteral("code")).toString());
        const int type = typeOf(o.value(QStringLiteral("type")).toString());
        if (!code || type < 0 || !o.value(QStringLiteral("value")).isString())
            return fail(tr("entry %1 is damaged").arg(b.items.size() + 1));
        if (seen.contains(*code))
            return fail(tr("entry %1 appears twice").arg(codeText(*code)));
        seen.insert(*code);
        b.items.append({*code, o.value(QStringLiteral("name")).toString(), type,
                        o.value(QStringLiteral("value")).toString(),
                        o.value(QStringLiteral("writable")).toBool()});
    }
    return b;
}

bool ParamBackup::save(const QString& path, QString* error) const {
    return kx::AtomicFile::writeAll(path, toJson(), error);
}

std::optional<ParamBackup> ParamBackup::load(const QString& path, QString* error) {
    QByteArray bytes;
    if (!kx::InputFile::read(path, kMaxFileSize, &bytes, error))
        return std::nullopt;
    return fromJson(bytes, error);
}

bool ParamDiff::differs() const {
    for (const Item& item : items) {
        if (item.writable)
            return true;
    }
    return false;
}

ParamDiff ParamDiff::compare(const ParamBackup& left, const ParamBackup& right) {
    QMap<quint16, const ParamBackup::Item*> l, r;
    for (const auto& item : left.items)
        l.insert(item.code, &item);
    for (const auto& item : right.items)
        r.insert(item.code, &item);
    QList<quint16> codes = l.keys() + r.keys();
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    ParamDiff diff;
    for (quint16 code : codes) {
        const ParamBackup::Item* a = l.value(code);
        const ParamBackup::Item* b = r.value(code);
        Item item;
        item.code = code;
        if (a) {
            item.leftName = a->name;
            item.leftType = ParamBackup::typeName(a->type);
            item.left = a->value;
        }
        if (b) {
            item.rightName = b->name;
            item.rightType = ParamBackup::typeName(b->type);
            item.right = b->value;
        }
        item.writable = (a && a->writable) || (b && b->writable);
        if (!a)
            item.kind = Kind::OnlyRight;
        else if (!b)
            item.kind = Kind::OnlyLeft;
        else if (a->name != b->name || a->type != b->type)
            item.kind = Kind::Definition;
        else if (a->value != b->value)
            item.kind = Kind::Value;
        else
            continue;
        diff.items.append(item);
    }
    return diff;
}

QStringList ParamDiff::lines() const {
    QStringList writable, other;
    for (const Item& item : items) {
        const QString code = ParamBackup::codeText(item.code);
        QString line;
        switch (item.kind) {
            case Kind::Value:
                line = tr("%1 %2: %3 -> %4").arg(code, item.leftName, item.left, item.right);
                break;
            case Kind::OnlyLeft:
                line = tr("%1 %2: only on the left (%3)").arg(code, item.leftName, item.left);
                break;
            case Kind::OnlyRight:
                line = tr("%1 %2: only on the right (%3)").arg(code, item.rightName, item.right);
                break;
            case Kind::Definition:
                line = tr("%1: %2 (%3) became %4 (%5)")
                           .arg(code, item.leftName, item.leftType, item.rightName, item.rightType);
                break;
        }
        (item.writable ? writable : other) << line;
    }
    QStringList out = writable;
    if (!other.isEmpty()) {
        out << tr("Read-only and live entries (not counted):");
        for (const QString& line : other)
            out << QStringLiteral("  ") + line;
    }
    return out;
}

ParamRestorePlan ParamRestorePlan::plan(const QVector<ParamEntry>& motor, const ParamBackup& backup,
                                        const QSet<quint16>& only, bool force) {
    QHash<quint16, const ParamEntry*> byCode;
    for (const ParamEntry& e : motor)
        byCode.insert(e.code, &e);
    ParamRestorePlan plan;
    for (const ParamBackup::Item& item : backup.items) {
        if (!only.isEmpty() && !only.contains(item.code))
            continue;
        const ParamEntry* e = byCode.value(item.code);
        if (!e) {
            if (item.writable)
                plan.refused.append({item.code, item.name, tr("not on the motor")});
            continue;
        }
        if (!e->writable()) {
            if (item.writable && item.value != e->value)
                plan.refused.append({item.code, item.name, tr("read-only on the motor")});
            continue;
        }
        if (!force && (e->name != item.name || e->type != item.type)) {
            plan.refused.append({item.code, item.name,
                                 tr("the motor has %1 (%2) here; the backup has %3 (%4)")
                                     .arg(e->name, ParamBackup::typeName(e->type), item.name,
                                          ParamBackup::typeName(item.type))});
            continue;
        }
        Write w{item.code, e->name, e->value, item.value, {}};
        if (e->group == 0) {
            if (item.value == e->value)
                continue;
            const QByteArray text = item.value.toLatin1();
            if (!ParamValue::isText(item.value) || text.size() > ParamValue::kTextSize) {
                plan.refused.append({item.code, item.name, tr("not a text of at most 16 ASCII characters")});
                continue;
            }
            w.pending = ParamValue::textBytes(text);
        } else {
            const auto number = ParamValue::parse(e->type, item.value, &w.pending);
            if (!number) {
                plan.refused.append({item.code, item.name,
                                     tr("%1 is not a %2").arg(item.value, ParamBackup::typeName(e->type))});
                continue;
            }
            // What the motor holds already needs no write, and so no check.
            w.to = ParamValue::formatRaw(e->type, w.pending);
            if (w.to == e->value)
                continue;
            if (*number < e->minimum || *number > e->maximum) {
                plan.refused.append({item.code, item.name,
                                     tr("%1 is outside [%2, %3]")
                                         .arg(item.value)
                                         .arg(ParamValue::formatLimit(e->type, e->minimum, e->decimals),
                                              ParamValue::formatLimit(e->type, e->maximum, e->decimals))});
                continue;
            }
        }
        plan.writes.append(w);
    }
    return plan;
}
