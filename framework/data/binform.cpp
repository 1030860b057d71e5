#include "framework/data/binform.h"

#include "framework/data/binvariantreader.h"
#include "framework/data/dataobject.h"
#include "framework/data/dataobjectprivate.h"
#include "framework/data/formvalue.h"
#include "framework/data/importguard.h"
#include "framework/log/qflog.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QDateTime>
#include <QSet>
#include <QStringList>

#include <cstddef>

#include <zlib.h>
#include <cstring>
#include <vector>

namespace kx {

namespace {

enum Kind : qint8 { KIND_NONE = 0, KIND_STANDARD = 1, KIND_CUSTOM = 2 };

// Stream version 19: the encoding of Qt 5.13 to 5.15, so records stay readable by them.
constexpr int kStreamVersion = QDataStream::Qt_5_13;

bool isPointerType(int type) {
    return type == QMetaType::VoidStar || type == QMetaType::QObjectStar || type == QMetaType::Void ||
           type == QMetaType::Nullptr;
}

// A custom value travels as its raw bytes, which is sound only for a plain-data type: a type
// that owns memory or points at an object would be rebuilt around another process's pointers.
bool isPlainData(int type) {
    const QMetaType::TypeFlags flags = QMetaType::typeFlags(type);
    const QMetaType::TypeFlags refused = QMetaType::NeedsConstruction | QMetaType::NeedsDestruction |
                                         QMetaType::PointerToQObject | QMetaType::SharedPointerToQObject |
                                         QMetaType::WeakPointerToQObject |
                                         QMetaType::TrackingPointerToQObject | QMetaType::PointerToGadget;
    return QMetaType::isRegistered(type) && !(flags & refused) && QMetaType::sizeOf(type) > 0;
}

void writeValue(QDataStream& stream, const QVariant& value) {
    const int type = value.userType();
    if (FormValue::isNull(value) || isPointerType(type)) {
        stream << qint8(KIND_NONE);
        return;
    }
    if (type >= QMetaType::User) {
        const int size = QMetaType::sizeOf(type);
        stream << qint8(KIND_CUSTOM) << QString::fromLatin1(QMetaType::typeName(type)) << qint32(type)
               << QByteArray(static_cast<const char*>(value.constData()), qMax(size, 0));
        return;
    }
    // A value that the reader could not take back would cost the whole rest of the record;
    // without it the record stays readable.
    if (!BinVariantReader::isReadable(type)) {
        stream << qint8(KIND_NONE);
        return;
    }
    QByteArray encoded;
    QDataStream probe(&encoded, QIODevice::WriteOnly);
    probe.setVersion(kStreamVersion);
    if (type == QMetaType::QDateTime && value.toDateTime().timeSpec() == Qt::TimeZone) {
        // The reader takes no zone names; the same instant with its offset reads back.
        const QDateTime time = value.toDateTime();
        probe << QVariant(time.toOffsetFromUtc(time.offsetFromUtc()));
    } else {
        probe << value;
    }
    if (probe.status() != QDataStream::Ok) {
        stream << qint8(KIND_NONE);
        return;
    }
    stream << qint8(KIND_STANDARD);
    stream.writeRawData(encoded.constData(), encoded.size());
}

void logInvalid(const DataObject* node, const QString& typeName, int type) {
    logW() << "<m> import invalid variant: " << node->fullName() << " with type \"" << typeName
           << "\" and id = " << type;
}

void logCorrupt(const DataObject* node) {
    logW() << "<m> import corrupt binary record: " << node->fullName();
}

// Reads kind and value. False when the record cannot be read on (the rest of it is unusable).
bool readValue(QDataStream& stream, const DataObject* node, QVariant* value) {
    qint8 kind = KIND_NONE;
    stream >> kind;
    if (stream.status() != QDataStream::Ok) {
        return false;
    }
    switch (kind) {
        case KIND_NONE:
            return true;
        case KIND_STANDARD: {
            int type = 0;
            if (BinVariantReader::read(stream, value, &type)) {
                return true;
            }
            *value = QVariant();
            if (type != 0) {
                logInvalid(node, QString::fromLatin1(QMetaType::typeName(type)), type);
            }
            return false;
        }
        case KIND_CUSTOM: {
            QString typeName;
            qint32 type = 0;
            QByteArray raw;
            if (!BinVariantReader::readString(stream, &typeName)) {
                return false;
            }
            stream >> type;
            if (!BinVariantReader::readBytes(stream, &raw)) {
                return false;
            }
            const int registered = QMetaType::type(typeName.toLatin1().constData());
            if (registered != QMetaType::UnknownType && registered == type && isPlainData(type) &&
                raw.size() == QMetaType::sizeOf(type)) {
                // The bytes of a byte array are not aligned for every type: copy them first.
                std::vector<std::max_align_t> aligned((size_t(raw.size()) + sizeof(std::max_align_t) - 1) /
                                                      sizeof(std::max_align_t));
                std::memcpy(aligned.data(), raw.constData(), size_t(raw.size()));
                *value = QVariant(type, aligned.data());
            } else {
                logInvalid(node, typeName, type);
            }
            return true;
        }
        default:
            return false;
    }
}

void importRecord(ImportGuard& guard, DataObject* node, QObject* changer, const QByteArray& record,
                  bool create, bool setValues, bool removeMissing, int depth) {
    if (node->isEmpty() || !guard.admit(depth)) {
        return;
    }
    QBuffer buffer;
    buffer.setData(record);
    buffer.open(QIODevice::ReadOnly);
    QDataStream stream(&buffer);
    stream.setVersion(kStreamVersion);

    QVariant value;
    qint32 count = 0;
    if (readValue(stream, node, &value)) {
        stream >> count;
    } else {
        stream.setStatus(QDataStream::ReadCorruptData);
    }
    // No reservation by the count read: a record claiming 2^31 children ends when its bytes do.
    QStringList names;
    for (qint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        QString name;
        if (!BinVariantReader::readString(stream, &name)) {
            names.clear();
            break;
        }
        names.append(name);
    }
    // A damaged record must not cost the subtree: without the names, removeMissing would delete
    // every child. Such a node is left as it is.
    if (stream.status() != QDataStream::Ok || count < 0) {
        logCorrupt(node);
        return;
    }
    if (removeMissing) {
        const QSet<QString> kept(names.cbegin(), names.cend());
        QList<DataObject*> surplus;
        const QList<DataObject*> children = node->cdobjs();
        for (int i = 0; i < children.size(); ++i) {
            DataObject* child = children.at(i);
            const QString rname = child->isRelative() ? QLatin1Char('#') + QString::number(i) : child->name();
            if (!kept.contains(rname)) {
                surplus.append(child);
            }
        }
        for (DataObject* child : qAsConst(surplus)) {
            node->remove(changer, child, true);
        }
    }
    for (const QString& name : qAsConst(names)) {
        QByteArray childRecord;
        // Always read, so that the stream stays in step.
        if (!BinVariantReader::readBytes(stream, &childRecord)) {
            logCorrupt(node);
            break;
        }
        int childDepth = depth;
        DataObject* child = guard.resolve(node, name, true, create, false, &childDepth);
        if (!child->isEmpty()) {
            importRecord(guard, child, changer, childRecord, create, setValues, removeMissing, childDepth);
        }
    }
    if (setValues) {
        node->set(changer, value);
    } else {
        ImportGuard::announce(node, changer);
    }
}

qint64 damageAt(const QByteArray& record, int depth) {
    QBuffer buffer;
    buffer.setData(record);
    buffer.open(QIODevice::ReadOnly);
    QDataStream stream(&buffer);
    stream.setVersion(kStreamVersion);
    qint64 at = 0;
    const auto fails = [&](bool ok) {
        if (ok && stream.status() == QDataStream::Ok) {
            at = buffer.pos();
            return false;
        }
        return true;
    };
    qint8 kind = KIND_NONE;
    stream >> kind;
    if (fails(kind >= KIND_NONE && kind <= KIND_CUSTOM)) {
        return at;
    }
    if (kind == KIND_STANDARD) {
        QVariant value;
        int type = 0;
        if (fails(BinVariantReader::read(stream, &value, &type))) {
            return at;
        }
    } else if (kind == KIND_CUSTOM) {
        QString typeName;
        qint32 type = 0;
        QByteArray raw;
        if (fails(BinVariantReader::readString(stream, &typeName))) {
            return at;
        }
        stream >> type;
        if (fails(BinVariantReader::readBytes(stream, &raw))) {
            return at;
        }
    }
    qint32 count = 0;
    stream >> count;
    if (fails(count >= 0)) {
        return at;
    }
    for (qint32 i = 0; i < count; ++i) {
        QString name;
        if (fails(BinVariantReader::readString(stream, &name))) {
            return at;
        }
    }
    for (qint32 i = 0; i < count; ++i) {
        QByteArray child;
        if (fails(BinVariantReader::readBytes(stream, &child))) {
            return at;
        }
        // Deeper levels than import enters need no check.
        const qint64 inner = depth < ImportGuard::kMaxDepth ? damageAt(child, depth + 1) : -1;
        if (inner >= 0) {
            return at - child.size() + inner;
        }
    }
    return -1;
}

}  // namespace

qint64 BinForm::damageOffset(const QByteArray& record) {
    return damageAt(record, 0);
}

QByteArray BinForm::exportNode(const DataObject* node, bool skipPrivate) {
    QByteArray record;
    QDataStream stream(&record, QIODevice::WriteOnly);
    stream.setVersion(kStreamVersion);
    writeValue(stream, DataObjectAccess::storedValue(node));

    // Names as seen from this node; positions counted here rather than by rname(), which
    // walks the list for every relative child.
    QStringList names;
    QList<const DataObject*> kept;
    const QList<DataObject*> children = node->cdobjs();
    for (int i = 0; i < children.size(); ++i) {
        const DataObject* child = children.at(i);
        const QString name = child->name();
        if (skipPrivate && FormValue::isPrivateName(name)) {
            continue;
        }
        names.append(child->isRelative() ? QLatin1Char('#') + QString::number(i) : name);
        kept.append(child);
    }
    stream << qint32(kept.size());
    for (const QString& name : qAsConst(names)) {
        stream << name;
    }
    for (const DataObject* child : qAsConst(kept)) {
        stream << exportNode(child, skipPrivate);
    }
    return record;
}

void BinForm::importNode(DataObject* node, QObject* changer, const QByteArray& record, bool create,
                         bool setValues, bool removeMissing) {
    ImportGuard guard(changer);
    importRecord(guard, node, changer, record, create, setValues, removeMissing, 0);
}

QByteArray BinForm::uncompress(const QByteArray& compressed, QString* why) {
    constexpr qint64 kMaxRatio = 1032;
    constexpr qint64 kSlack = 64;
    auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return QByteArray();
    };
    if (compressed.size() < 4)
        return fail(QCoreApplication::translate("BinForm", "too short for a compressed record"));
    const auto* bytes = reinterpret_cast<const uchar*>(compressed.constData());
    const qint64 claimed =
        (qint64(bytes[0]) << 24) | (qint64(bytes[1]) << 16) | (qint64(bytes[2]) << 8) | bytes[3];
    if (claimed > kMaxExpanded) {
        return fail(
            QCoreApplication::translate("BinForm", "would expand to %1 bytes, more than the %2 allowed")
                .arg(claimed)
                .arg(kMaxExpanded));
    }
    if (claimed > (compressed.size() - 4) * kMaxRatio + kSlack)
        return fail(QCoreApplication::translate("BinForm", "its size header cannot be true"));
    QByteArray out(int(qMax<qint64>(claimed, 1)), Qt::Uninitialized);
    uLongf length = uLongf(claimed);
    const int result =
        ::uncompress(reinterpret_cast<Bytef*>(out.data()), &length, bytes + 4, uLong(compressed.size() - 4));
    if (result == Z_BUF_ERROR && claimed > 0)
        return fail(QCoreApplication::translate("BinForm", "expands beyond the %1 bytes its header gives")
                        .arg(claimed));
    if (result != Z_OK)
        return fail(QCoreApplication::translate("BinForm", "not valid compressed data"));
    out.resize(int(length));
    return out;
}

}  // namespace kx
