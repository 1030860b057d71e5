#include "framework/data/formvalue.h"

namespace kx {

bool FormValue::isNull(const QVariant& value) {
    if (!value.isValid() || value.userType() == QMetaType::Nullptr) {
        return true;
    }
    switch (value.userType()) {
        case QMetaType::QSize:
        case QMetaType::QSizeF:
        case QMetaType::QPoint:
        case QMetaType::QPointF:
        case QMetaType::QRect:
        case QMetaType::QRectF:
        case QMetaType::QLine:
        case QMetaType::QLineF:
            return const_cast<QVariant&>(value).data_ptr().is_null;
        default:
            return value.isNull();
    }
}

QString FormValue::xmlSafe(const QString& text) {
    auto allowed = [](uint code) {
        return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
               (code >= 0xE000 && code <= 0xFFFD);
    };
    // Most texts are clean: check first, copy only when something must go.
    const int size = text.size();
    bool clean = true;
    for (int i = 0; i < size && clean; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate() || !allowed(c.unicode())) {
            clean = false;
        }
    }
    if (clean) {
        return text;
    }
    QString result;
    result.reserve(size);
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            result.append(c);
            result.append(text.at(++i));
        } else if (c.isSurrogate() || !allowed(c.unicode())) {
            result.append(QChar(QChar::ReplacementCharacter));
        } else {
            result.append(c);
        }
    }
    return result;
}

}  // namespace kx
