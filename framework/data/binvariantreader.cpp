#include "framework/data/binvariantreader.h"

#include <QIODevice>
#include <QStringList>

namespace kx {

namespace {

// The least number of bytes one element can take: a count beyond bytes left / this is a lie.
constexpr qint64 kMinStringBytes = 4;
constexpr qint64 kMinVariantBytes = 5;

bool countFits(QDataStream& stream, quint32 count, qint64 minElementBytes) {
    return qint64(count) * minElementBytes <= stream.device()->bytesAvailable();
}

}  // namespace

bool BinVariantReader::isReadable(int type) {
    switch (type) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::QChar:
        case QMetaType::QVariantMap:
        case QMetaType::QVariantList:
        case QMetaType::QString:
        case QMetaType::QStringList:
        case QMetaType::QByteArray:
        case QMetaType::QBitArray:
        case QMetaType::QDate:
        case QMetaType::QTime:
        case QMetaType::QDateTime:
        case QMetaType::QUrl:
        case QMetaType::QRect:
        case QMetaType::QRectF:
        case QMetaType::QSize:
        case QMetaType::QSizeF:
        case QMetaType::QLine:
        case QMetaType::QLineF:
        case QMetaType::QPoint:
        case QMetaType::QPointF:
        case QMetaType::QVariantHash:
        case QMetaType::QUuid:
        case QMetaType::Long:
        case QMetaType::Short:
        case QMetaType::Char:
        case QMetaType::ULong:
        case QMetaType::UShort:
        case QMetaType::UChar:
        case QMetaType::Float:
        case QMetaType::SChar:
        case QMetaType::QByteArrayList:
            return true;
        default:
            return false;
    }
}

bool BinVariantReader::lengthFits(QDataStream& stream) {
    if (stream.status() != QDataStream::Ok) {
        return false;
    }
    const QByteArray head = stream.device()->peek(4);
    if (head.size() < 4) {
        stream.setStatus(QDataStream::ReadPastEnd);
        return false;
    }
    const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
    const quint32 length =
        (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) | bytes[3];
    if (length == 0xffffffffu) {  // the null string or array
        return true;
    }
    // Both encodings count bytes.
    if (qint64(length) > stream.device()->bytesAvailable() - 4) {
        stream.setStatus(QDataStream::ReadPastEnd);
        return false;
    }
    return true;
}

bool BinVariantReader::readString(QDataStream& stream, QString* text) {
    if (!lengthFits(stream)) {
        return false;
    }
    stream >> *text;
    return stream.status() == QDataStream::Ok;
}

bool BinVariantReader::readBytes(QDataStream& stream, QByteArray* bytes) {
    if (!lengthFits(stream)) {
        return false;
    }
    stream >> *bytes;
    return stream.status() == QDataStream::Ok;
}

bool BinVariantReader::read(QDataStream& stream, QVariant* value, int* type) {
    return readAt(stream, value, type, 0);
}

bool BinVariantReader::readAt(QDataStream& stream, QVariant* value, int* type, int nesting) {
    QIODevice* device = stream.device();
    const qint64 start = device->pos();
    quint32 typeNumber = 0;
    qint8 isNull = 0;
    stream >> typeNumber >> isNull;
    *type = stream.status() == QDataStream::Ok ? int(qMin<quint32>(typeNumber, INT_MAX)) : 0;
    if (stream.status() != QDataStream::Ok || !isReadable(*type) || nesting > kMaxNesting) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    switch (*type) {
        case QMetaType::QVariantList: {
            quint32 count = 0;
            stream >> count;
            if (stream.status() != QDataStream::Ok || !countFits(stream, count, kMinVariantBytes)) {
                break;
            }
            QVariantList list;
            list.reserve(int(count));
            for (quint32 i = 0; i < count; ++i) {
                QVariant element;
                int elementType = 0;
                if (!readAt(stream, &element, &elementType, nesting + 1)) {
                    return false;
                }
                list.append(element);
            }
            *value = list;
            return true;
        }
        case QMetaType::QVariantMap:
        case QMetaType::QVariantHash: {
            quint32 count = 0;
            stream >> count;
            if (stream.status() != QDataStream::Ok ||
                !countFits(stream, count, kMinStringBytes + kMinVariantBytes)) {
                break;
            }
            // Written last entry first, so a repeated key ends with the most recent value.
            QVariantMap map;
            QVariantHash hash;
            for (quint32 i = 0; i < count; ++i) {
                QString key;
                QVariant element;
                int elementType = 0;
                if (!readString(stream, &key) || !readAt(stream, &element, &elementType, nesting + 1)) {
                    stream.setStatus(QDataStream::ReadCorruptData);
                    return false;
                }
                if (*type == QMetaType::QVariantMap) {
                    map.insert(key, element);
                } else {
                    hash.insert(key, element);
                }
            }
            *value = *type == QMetaType::QVariantMap ? QVariant(map) : QVariant(hash);
            return true;
        }
        case QMetaType::QStringList:
        case QMetaType::QByteArrayList: {
            quint32 count = 0;
            stream >> count;
            if (stream.status() != QDataStream::Ok || !countFits(stream, count, kMinStringBytes)) {
                break;
            }
            QStringList strings;
            QByteArrayList arrays;
            for (quint32 i = 0; i < count; ++i) {
                if (*type == QMetaType::QStringList) {
                    QString text;
                    if (!readString(stream, &text)) {
                        return false;
                    }
                    strings.append(text);
                } else {
                    QByteArray bytes;
                    if (!readBytes(stream, &bytes)) {
                        return false;
                    }
                    arrays.append(bytes);
                }
            }
            *value = *type == QMetaType::QStringList ? QVariant(strings) : QVariant::fromValue(arrays);
            return true;
        }
        case QMetaType::QString: {
            QString text;
            if (!readString(stream, &text)) {
                return false;
            }
            *value = text;
            return true;
        }
        case QMetaType::QByteArray: {
            QByteArray bytes;
            if (!readBytes(stream, &bytes)) {
                return false;
            }
            *value = bytes;
            return true;
        }
        case QMetaType::QDateTime: {
            // A time zone by name would make Qt look the name up among the system's zone
            // files; a saved value keeps its offset instead.
            const QByteArray head = device->peek(13);
            if (head.size() < 13 || quint8(head.at(12)) > Qt::OffsetFromUTC) {
                break;
            }
            Q_FALLTHROUGH();
        }
        default: {
            // Fixed or self-limiting encodings: let Qt read the whole variant, null flag included.
            if (!device->seek(start)) {
                break;
            }
            stream >> *value;
            return stream.status() == QDataStream::Ok;
        }
    }
    stream.setStatus(QDataStream::ReadCorruptData);
    return false;
}

}  // namespace kx
