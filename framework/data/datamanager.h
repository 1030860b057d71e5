#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QVariant>

namespace kx {

class DataObject;
class EmptyDataObject;
class DataManagerPrivate;

// Process-wide owner of the application data tree: the root "@m", the empty node "@e", the
// global lookup d() and the static file operations (binary, JSON, XML). Files are written
// atomically: a failed write leaves the previous file intact.
class DataManager {
public:
    static DataManager& instance();

    DataObject* rootDobj() const;
    DataObject* emptyDobj() const;

    // Resolves path below base (the root when null); never creates.
    DataObject* operator()(const QString& path, DataObject* base = nullptr) const;
    DataObject* regist(QObject* changer, const QString& path);
    bool cancel(QObject* changer, const QString& path);
    DataObject* create(const QString& name, DataObject* parent = nullptr);
    void reserve(int count);
    static QString separator();

    static QByteArray readFromBin(const QString& path);
    static bool writeToBin(const QString& path, const QByteArray& data, int level = -1, bool makePath = true);
    static QJsonValue readFromJson(const QString& path);
    static QVariant readFromJsonAsVariant(const QString& path);
    static bool writeToJson(const QString& path, const QJsonValue& value, bool makePath = true);
    static QString convertToUtf8(const QByteArray& bytes);
    static bool readFromXmlFile(QObject* changer, DataObject* node, const QString& path);
    static bool writeToXmlFile(const QString& path, DataObject* node, bool makePath = true,
                               bool skipPrivate = true);

private:
    DataManager();
    ~DataManager();
    DataManager(const DataManager&) = delete;
    DataManager& operator=(const DataManager&) = delete;

    DataManagerPrivate* d_ptr;
};

DataManager& d();
DataObject* d(const QString& path, DataObject* base = nullptr);

}  // namespace kx

// Path builders: the arguments joined with the separator ".".
QString dName(const QString& a, const QString& b);
QString dName(const QString& a, const QString& b, const QString& c);
QString dName(const QString& a, const QString& b, const QString& c, const QString& d);
QString dName(const QString& a, const QString& b, const QString& c, const QString& d, const QString& e);
QString dName(const QString& a, const QString& b, const QString& c, const QString& d, const QString& e,
              const QString& f);
QString dName(const QString& a, const QString& b, const QString& c, const QString& d, const QString& e,
              const QString& f, const QString& g);
// "#n" for index >= 0, otherwise name unchanged.
QString dIndex(int index, const QString& name = QString());
