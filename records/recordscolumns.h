#pragma once

#include "commission/runrecord.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

// How record values are kept in columns, shared by the writing and the reading half of the
// store: times as UTC milliseconds (NULL when unset), MCU IDs as lower-case hexadecimal.
namespace RecordsColumns {

inline QVariant time(const QDateTime& t) {
    return t.isValid() ? QVariant(t.toMSecsSinceEpoch()) : QVariant(QVariant::LongLong);
}

inline QDateTime time(const QVariant& v) {
    return v.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(v.toLongLong(), Qt::UTC);
}

inline QString mcu(quint64 id) {
    return QString::number(id, 16);
}

// Qt binds a null QString as NULL; the text columns hold empty text instead.
inline QVariant bindable(const QVariant& v) {
    return v.type() == QVariant::String && v.isNull() ? QVariant(QStringLiteral("")) : v;
}

inline QVariant number(double value) {
    return qIsFinite(value) ? QVariant(value) : QVariant(QVariant::Double);
}

}  // namespace RecordsColumns
