#pragma once

#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace kx {

class DataObjectPrivate;

// A node of the application data tree: a stored name, a value and an ordered list of
// uniquely named children. Every mutating operation names its changer, which travels with
// every signal so that a listener can ignore its own changes. Lookups never return null:
// a missing node is the empty node (EmptyDataObject).
class DataObject : public QObject {
    Q_OBJECT

public:
    enum ActivateType { ACTIVATE_SET = 0, ACTIVATE_INSERT = 1, ACTIVATE_REMOVE = 2, ACTIVATE_REORDER = 3 };
    Q_ENUM(ActivateType)

    // Stores the name and the parent pointer only; the node enters a tree through insert().
    explicit DataObject(const QString& name = QString(), DataObject* parent = nullptr);
    ~DataObject() override;

    // Navigation; none of these creates anything.
    DataObject* pdobj() const;
    DataObject* pdobj(int n) const;
    DataObject* p(int n = 0) const { return pdobj(n); }
    DataObject* first() const;
    DataObject* last() const;
    DataObject* nextBdobj() const;
    DataObject* prevBdobj() const;
    DataObject* bdobj(int offset) const;
    DataObject* b(int offset) const { return bdobj(offset); }
    DataObject* b(const QString& name, bool real = false) const;
    DataObject* cdobj(int index) const;
    DataObject* c(int index) const { return cdobj(index); }
    DataObject* cdobj(const QString& name, bool real = false) const;
    DataObject* c(const QString& name, bool real = false) const { return cdobj(name, real); }
    DataObject* rdobj(const QString& path) const;
    DataObject* r(const QString& path) const { return rdobj(path); }
    int size() const;
    int indexInPdobj() const;
    bool isRdobjOf(const DataObject* node) const;
    bool hasCdobj(const QString& name, bool real = false) const;
    bool hasCdobj(const DataObject* node) const;
    bool hasRdobj(const QString& path) const;
    QStringList cdobjNames(bool real = false) const;
    QList<DataObject*> cdobjs() const;
    QString name() const;
    QString rname() const;
    QString fullName(const DataObject* base = nullptr) const;
    bool isRelative() const;
    bool isQuiet() const;
    bool isWatching() const;

    static int indexOfRname(const QString& name);
    static QString generateId(const DataObject* parent);
    // candidate, or the first of "candidate_1", "candidate_2", ... that parent lacks.
    static QString uniqueName(const DataObject* parent, const QString& candidate);

    // Virtual operations, in this order (the empty node overrides them).
    virtual bool isEmpty() const;
    virtual QVariant get(const QVariant& defaultValue = QVariant()) const;
    virtual DataObject* set(QObject* changer, const QString& path, const QVariant& value,
                            bool create = false);
    virtual DataObject* set(QObject* changer, const QVariant& value);
    virtual bool insert(QObject* changer, const QString& path, bool replace = false);
    virtual bool insert(QObject* changer, DataObject* node, bool replace = false, int index = -1);
    virtual DataObject* append(QObject* changer, const QString& name = QString());
    virtual bool remove(QObject* changer, const QString& path, bool destroy = true);
    virtual bool remove(QObject* changer, DataObject* node, bool destroy = true);
    virtual void copyFrom(QObject* changer, DataObject* source, bool create = true,
                          bool removeMissing = false);
    virtual void importFromJson(QObject* changer, const QJsonValue& value, bool create = true,
                                bool setValues = true, bool removeMissing = false);
    virtual QJsonValue exportToJson(bool skipPrivate = false) const;
    virtual void importFromXml(QObject* changer, QXmlStreamReader& reader, bool create = true,
                               bool setValues = true, bool strict = true);
    virtual void exportToXml(QXmlStreamWriter& writer, bool isTop = true, bool skipPrivate = false) const;
    virtual void importFromBin(QObject* changer, const QByteArray& record, bool create = true,
                               bool setValues = true, bool removeMissing = false);
    virtual QByteArray exportToBin(bool skipPrivate = false) const;

    // Values.
    bool getBool(bool defaultValue = false) const;
    int getInt(int defaultValue = 0) const;
    double getDouble(double defaultValue = 0.0) const;
    QString getString(const QString& defaultValue = QString()) const;
    QVariantList getList() const;
    DataObject* setList(QObject* changer, const QVariantList& list, bool create = false);
    DataObject* setList(QObject* changer, const QString& path, const QVariantList& list, bool create = false);

    // Structure.
    bool reorder(QObject* changer, int from, int to);
    bool reorder(QObject* changer, const QStringList& names);
    void clear(QObject* changer, bool destroy = true, bool keepStructure = false);
    void quiet(bool on, bool recursive = false);
    void watch(bool on, bool recursive = false);
    void activate(QObject* changer, DataObject* node, int type);
    void dump(const DataObject* base = nullptr) const;

    // Interchange forms that are not virtual.
    QVariant exportToVariant(bool skipPrivate = false) const;
    void importFromVariant(QObject* changer, const QVariant& value, bool create = true, bool setValues = true,
                           bool removeMissing = false);
    QString exportToXmlStr(int indent = 4, bool skipPrivate = false) const;
    void importFromXmlStr(QObject* changer, const QString& xml, bool create = true, bool setValues = true,
                          bool strict = true);

signals:
    void activated(kx::DataObject* changed_mobj, int type, QObject* changer);
    void changed(QVariant var, QVariant old_var, QObject* changer);
    void added(QString rname, QObject* changer);
    void removed(QString rname, QObject* changer);
    void gonnaInsert(kx::DataObject* target, kx::DataObject* ref, QObject* changer);
    void gonnaRemove(kx::DataObject* target, kx::DataObject* ref, QObject* changer);

public slots:
    // Re-sets the present value: an event for every listener of changed().
    void trigger();

private:
    friend class DataObjectPrivate;
    friend struct DataObjectAccess;
    DataObjectPrivate* d_ptr;
    Q_DISABLE_COPY(DataObject)
};

}  // namespace kx

Q_DECLARE_METATYPE(kx::DataObject*)
