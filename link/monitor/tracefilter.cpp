#include "link/monitor/tracefilter.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("TraceFilter", text);
}

// The data bytes as hex without separators: "80 01" and "8001" both find them.
QString hexOf(const TraceRecord& r) {
    if (!r.isFrame())
        return QString::fromLatin1(r.bytes.toHex());
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(r.frame.data.data()), qMin<int>(r.frame.length, 8)).toHex());
}

}  // namespace

int TraceFilter::typeOf(const TraceRecord& r) {
    switch (r.kind) {
        case TraceRecord::Kind::Frame:
            return r.frame.type();
        case TraceRecord::Kind::Text:
            return kTextType;
        case TraceRecord::Kind::Garbage:
            break;
    }
    return kSkippedType;
}

bool TraceFilter::acceptsRecord(const TraceRecord& r) const {
    if (directions != Directions::Both && (directions == Directions::Tx) != r.isTx())
        return false;
    if (!types.isEmpty() && !types.contains(typeOf(r)))
        return false;
    if (!canIds.isEmpty() && !canIds.contains(FrameDecoder::motorOf(r)))
        return false;
    return true;
}

bool TraceFilter::accepts(const TraceRecord& r, const DecodedRecord& d) const {
    if (!acceptsRecord(r))
        return false;
    if (text.isEmpty())
        return true;
    if (d.fields.contains(text, Qt::CaseInsensitive) || d.type.contains(text, Qt::CaseInsensitive))
        return true;
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    return !compact.isEmpty() && hexOf(r).contains(compact, Qt::CaseInsensitive);
}

bool TraceFilter::parse(const QString& expression, TraceFilter* filter, QString* error) {
    TraceFilter f;
    QStringList words;
    for (const QString& term : expression.split(QRegExp(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const int eq = term.indexOf(QLatin1Char('='));
        if (eq < 0) {
            words << term;
            continue;
        }
        const QString key = term.left(eq).toLower();
        const QStringList values = term.mid(eq + 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (key == QLatin1String("dir")) {
            const QString v = values.value(0).toLower();
            if (values.size() != 1 || (v != QLatin1String("rx") && v != QLatin1String("tx"))) {
                *error = tr("dir= expects rx or tx: %1").arg(term);
                return false;
            }
            f.directions = v == QLatin1String("rx") ? Directions::Rx : Directions::Tx;
        } else if (key == QLatin1String("type")) {
            for (const QString& v : values) {
                bool number = false;
                const int type = v.toInt(&number, 0);
                if (number && type >= 0 && type < 32) {
                    f.types.insert(type);
                    continue;
                }
                QString name = v.toUpper();
                if (name.startsWith(QLatin1String("CANCOM_")))
                    name = name.mid(7);
                if (name == QLatin1String("AT")) {
                    f.types.insert(kTextType);
                    continue;
                }
                if (name == QLatin1String("SKIPPED")) {
                    f.types.insert(kSkippedType);
                    continue;
                }
                int found = -1;
                for (int t = 0; t < 32 && found < 0; ++t) {
                    if (FrameDecoder::typeName(t) == name)
                        found = t;
                }
                if (found < 0) {
                    *error = tr("Unknown type %1.").arg(v);
                    return false;
                }
                f.types.insert(found);
            }
        } else if (key == QLatin1String("id")) {
            for (const QString& v : values) {
                bool ok = false;
                const int id = v.toInt(&ok, 0);
                if (!ok || id < 0 || id > 255) {
                    *error = tr("id= expects CAN IDs 0..255: %1").arg(term);
                    return false;
                }
                f.canIds.insert(id);
            }
        } else if (key == QLatin1String("text")) {
            words << term.mid(eq + 1);
        } else {
            *error = tr("Unknown filter term %1 (dir=, type=, id=, text=).").arg(term);
            return false;
        }
    }
    f.text = words.join(QLatin1Char(' '));
    *filter = f;
    return true;
}
