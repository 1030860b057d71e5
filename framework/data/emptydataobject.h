#pragma once

#include "framework/data/dataobject.h"

namespace kx {

// The single empty node ("@e") returned by every failed lookup; every operation on it is
// harmless, so lookups can be chained without checks.
class EmptyDataObject : public DataObject {
    Q_OBJECT

public:
    EmptyDataObject();

    bool isEmpty() const override;
    QVariant get(const QVariant& defaultValue = QVariant()) const override;
    DataObject* set(QObject* changer, const QString& path, const QVariant& value,
                    bool create = false) override;
    DataObject* set(QObject* changer, const QVariant& value) override;
    bool insert(QObject* changer, const QString& path, bool replace = false) override;
    bool insert(QObject* changer, DataObject* node, bool replace = false, int index = -1) override;
    DataObject* append(QObject* changer, const QString& name = QString()) override;
    bool remove(QObject* changer, const QString& path, bool destroy = true) override;
    bool remove(QObject* changer, DataObject* node, bool destroy = true) override;
    void copyFrom(QObject* changer, DataObject* source, bool create = true,
                  bool removeMissing = false) override;
    void importFromJson(QObject* changer, const QJsonValue& value, bool create = true, bool setValues = true,
                        bool removeMissing = false) override;
    QJsonValue exportToJson(bool skipPrivate = false) const override;
    void importFromXml(QObject* changer, QXmlStreamReader& reader, bool create = true, bool setValues = true,
                       bool strict = true) override;
    void exportToXml(QXmlStreamWriter& writer, bool isTop = true, bool skipPrivate = false) const override;
    void importFromBin(QObject* changer, const QByteArray& record, bool create = true, bool setValues = true,
                       bool removeMissing = false) override;
    QByteArray exportToBin(bool skipPrivate = false) const override;
};

}  // namespace kx
