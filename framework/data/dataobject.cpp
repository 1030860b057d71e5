#include "framework/data/dataobject.h"

#include "framework/data/binform.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobjectprivate.h"
#include "framework/data/jsonform.h"
#include "framework/data/variantform.h"
#include "framework/data/xmlform.h"
#include "framework/log/qflog.h"

#include <QUuid>
#include <QXmlStreamReader>

namespace kx {

namespace {

DataObject* emptyNode() {
    return DataManager::instance().emptyDobj();
}

inline DataObject* orEmpty(DataObject* node) {
    return node ? node : emptyNode();
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

DataObject::DataObject(const QString& name, DataObject* parent)
    : QObject(nullptr), d_ptr(new DataObjectPrivate(name, parent)) {}

DataObject::~DataObject() {
    // A node deleted directly while still linked leaves its parent first; otherwise the
    // parent would keep a dangling child.
    if (DataObject* parent = d_ptr->linked.load() ? d_ptr->parent.load() : nullptr) {
        DataObjectPrivate* pd = parent->d_ptr;
        std::lock_guard<std::mutex> guard(pd->lock);
        if (DataObjectAccess::isLinkedLocked(pd, this))
            DataObjectAccess::unlinkLocked(pd, this);
    }
    DataObject* child = d_ptr->first;
    d_ptr->first = d_ptr->last = nullptr;
    d_ptr->index.clear();
    while (child) {
        DataObject* next = child->d_ptr->next;
        child->d_ptr->parent.store(nullptr);
        child->d_ptr->linked.store(false);
        delete child;
        child = next;
    }
    delete d_ptr;
}

// ---- Navigation -------------------------------------------------------------------------

DataObject* DataObject::pdobj() const {
    return orEmpty(d_ptr->parent.load());
}

DataObject* DataObject::pdobj(int n) const {
    DataObject* node = pdobj();
    for (int i = 0; i < n && !node->isEmpty(); ++i)
        node = node->pdobj();
    return node;
}

DataObject* DataObject::first() const {
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    return orEmpty(d_ptr->first);
}

DataObject* DataObject::last() const {
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    return orEmpty(d_ptr->last);
}

DataObject* DataObject::nextBdobj() const {
    DataObject* parent = d_ptr->parent.load();
    if (!parent)
        return emptyNode();
    std::lock_guard<std::mutex> guard(parent->d_ptr->lock);
    return orEmpty(d_ptr->next);
}

DataObject* DataObject::prevBdobj() const {
    DataObject* parent = d_ptr->parent.load();
    if (!parent)
        return emptyNode();
    std::lock_guard<std::mutex> guard(parent->d_ptr->lock);
    return orEmpty(d_ptr->prev);
}

DataObject* DataObject::bdobj(int offset) const {
    DataObject* node = const_cast<DataObject*>(this);
    for (; offset > 0 && !node->isEmpty(); --offset)
        node = node->nextBdobj();
    for (; offset < 0 && !node->isEmpty(); ++offset)
        node = node->prevBdobj();
    return node;
}

DataObject* DataObject::b(const QString& name, bool real) const {
    return pdobj()->cdobj(name, real);
}

DataObject* DataObject::cdobj(int index) const {
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    return orEmpty(DataObjectAccess::childAtLocked(d_ptr, index));
}

DataObject* DataObject::cdobj(const QString& name, bool real) const {
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    return orEmpty(DataObjectAccess::findChildLocked(d_ptr, name, real));
}

DataObject* DataObject::rdobj(const QString& path) const {
    // Walks the path in place: no split list and no per-segment strings.
    const DataObject* node = this;
    QStringView rest(path);
    for (;;) {
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        const QStringView segment = dot < 0 ? rest : rest.left(dot);
        DataObject* child;
        {
            std::lock_guard<std::mutex> guard(node->d_ptr->lock);
            child = DataObjectAccess::findChildLocked(node->d_ptr, segment, false);
        }
        if (!child)
            return emptyNode();
        node = child;
        if (dot < 0)
            return child;
        rest = rest.mid(dot + 1);
    }
}

int DataObject::size() const {
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    return d_ptr->index.size();
}

int DataObject::indexInPdobj() const {
    DataObject* parent = d_ptr->parent.load();
    if (!parent)
        return -1;
    std::lock_guard<std::mutex> guard(parent->d_ptr->lock);
    return DataObjectAccess::positionLocked(parent->d_ptr, this);
}

bool DataObject::isRdobjOf(const DataObject* node) const {
    if (!node)
        return false;
    for (DataObject* p = d_ptr->parent.load(); p; p = p->d_ptr->parent.load()) {
        if (p == node)
            return true;
    }
    return false;
}

bool DataObject::hasCdobj(const QString& name, bool real) const {
    if (name.isEmpty())
        return size() > 0;
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    return DataObjectAccess::findChildLocked(d_ptr, name, real) != nullptr;
}

bool DataObject::hasCdobj(const DataObject* node) const {
    if (!node)
        return false;
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    return d_ptr->index.contains(QStringView(node->d_ptr->name));
}

bool DataObject::hasRdobj(const QString& path) const {
    return !rdobj(path)->isEmpty();
}

QStringList DataObject::cdobjNames(bool real) const {
    QStringList names;
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    names.reserve(d_ptr->index.size());
    int i = 0;
    for (DataObject* node = d_ptr->first; node; node = node->d_ptr->next, ++i)
        names.append(real || !node->isRelative() ? node->d_ptr->name : dIndex(i));
    return names;
}

QList<DataObject*> DataObject::cdobjs() const {
    QList<DataObject*> nodes;
    std::lock_guard<std::mutex> guard(d_ptr->lock);
    nodes.reserve(d_ptr->index.size());
    for (DataObject* node = d_ptr->first; node; node = node->d_ptr->next)
        nodes.append(node);
    return nodes;
}

QString DataObject::name() const {
    return d_ptr->name;
}

QString DataObject::rname() const {
    if (!isRelative() || !d_ptr->parent.load())
        return d_ptr->name;
    return dIndex(indexInPdobj(), d_ptr->name);
}

QString DataObject::fullName(const DataObject* base) const {
    if (!base)
        base = DataManager::instance().rootDobj();
    QStringList parts{rname()};
    const DataObject* node = this;
    for (DataObject* p = node->d_ptr->parent.load(); p && p != base; p = p->d_ptr->parent.load())
        parts.prepend(p->rname());
    return parts.join(DataManager::separator());
}

bool DataObject::isRelative() const {
    return d_ptr->name.startsWith(QLatin1Char('#'));
}
bool DataObject::isQuiet() const {
    return d_ptr->quiet.load();
}
bool DataObject::isWatching() const {
    return d_ptr->watching.load();
}

int DataObject::indexOfRname(const QString& name) {
    return indexOfSegment(name);
}

QString DataObject::generateId(const DataObject* parent) {
    return uniqueName(parent, QLatin1Char('#') + QUuid::createUuid().toString());
}

QString DataObject::uniqueName(const DataObject* parent, const QString& candidate) {
    if (!parent || !parent->hasCdobj(candidate, true))
        return candidate;
    for (int i = 1;; ++i) {
        const QString name = QStringLiteral("%1_%2").arg(candidate).arg(i);
        if (!parent->hasCdobj(name, true))
            return name;
    }
}

// ---- Values -----------------------------------------------------------------------------

bool DataObject::isEmpty() const {
    return false;
}

QVariant DataObject::get(const QVariant& defaultValue) const {
    QVariant value;
    {
        std::lock_guard<std::mutex> guard(d_ptr->lock);
        value = d_ptr->value;
    }
    return value.isNull() ? defaultValue : value;
}

DataObject* DataObject::set(QObject* changer, const QString& path, const QVariant& value, bool create) {
    DataObject* target = rdobj(path);
    if (target->isEmpty() && create) {
        insert(changer, path, false);
        target = rdobj(path);
    }
    if (target->isEmpty())
        logW() << "<m><" << changer << "> set unreachable module: " << quoted(path) << " with: " << value;
    target->set(changer, value);
    return this;
}

DataObject* DataObject::set(QObject* changer, const QVariant& value) {
    QVariant old;
    {
        std::lock_guard<std::mutex> guard(d_ptr->lock);
        old = d_ptr->value;
        d_ptr->value = value;
    }
    if (isQuiet())
        return this;
    emit changed(value, old, changer);
    if (isWatching()) {
        emit activated(this, ACTIVATE_SET, changer);
        DataObject* parent = d_ptr->parent.load();
        if (parent && parent->isWatching())
            parent->activate(changer, this, ACTIVATE_SET);
    }
    return this;
}

namespace {

template <typename T>
T convertedValue(const QVariant& value, const T& defaultValue, T (QVariant::*convert)() const) {
    if (value.isNull() || !value.canConvert<T>())
        return defaultValue;
    return (value.*convert)();
}

}  // namespace

bool DataObject::getBool(bool defaultValue) const {
    return convertedValue<bool>(get(), defaultValue, &QVariant::toBool);
}

int DataObject::getInt(int defaultValue) const {
    const QVariant value = get();
    if (value.isNull() || !value.canConvert<int>())
        return defaultValue;
    return value.toInt();
}

double DataObject::getDouble(double defaultValue) const {
    const QVariant value = get();
    if (value.isNull() || !value.canConvert<double>())
        return defaultValue;
    return value.toDouble();
}

QString DataObject::getString(const QString& defaultValue) const {
    return convertedValue<QString>(get(), defaultValue, &QVariant::toString);
}

QVariantList DataObject::getList() const {
    QVariantList values;
    const QList<DataObject*> nodes = cdobjs();
    values.reserve(nodes.size());
    for (DataObject* node : nodes)
        values.append(node->get());
    return values;
}

DataObject* DataObject::setList(QObject* changer, const QVariantList& list, bool create) {
    for (int i = 0; i < list.size(); ++i)
        set(changer, dIndex(i), list.at(i), create);
    return this;
}

DataObject* DataObject::setList(QObject* changer, const QString& path, const QVariantList& list,
                                bool create) {
    for (int i = 0; i < list.size(); ++i)
        set(changer, path + DataManager::separator() + dIndex(i), list.at(i), create);
    return this;
}

void DataObject::trigger() {
    set(sender(), DataObjectAccess::storedValue(this));
}

// ---- Interchange forms ------------------------------------------------------------------

void DataObject::importFromJson(QObject* changer, const QJsonValue& value, bool create, bool setValues,
                                bool removeMissing) {
    JsonForm::importNode(this, changer, value, create, setValues, removeMissing);
}

QJsonValue DataObject::exportToJson(bool skipPrivate) const {
    return JsonForm::exportNode(this, skipPrivate);
}

void DataObject::importFromXml(QObject* changer, QXmlStreamReader& reader, bool create, bool setValues,
                               bool strict) {
    XmlForm::importNode(this, changer, reader, create, setValues, strict);
}

void DataObject::exportToXml(QXmlStreamWriter& writer, bool isTop, bool skipPrivate) const {
    XmlForm::exportNode(this, writer, isTop, skipPrivate);
}

void DataObject::importFromBin(QObject* changer, const QByteArray& record, bool create, bool setValues,
                               bool removeMissing) {
    BinForm::importNode(this, changer, record, create, setValues, removeMissing);
}

QByteArray DataObject::exportToBin(bool skipPrivate) const {
    return BinForm::exportNode(this, skipPrivate);
}

QVariant DataObject::exportToVariant(bool skipPrivate) const {
    return VariantForm::exportNode(this, skipPrivate);
}

void DataObject::importFromVariant(QObject* changer, const QVariant& value, bool create, bool setValues,
                                   bool removeMissing) {
    VariantForm::importNode(this, changer, value, create, setValues, removeMissing);
}

QString DataObject::exportToXmlStr(int indent, bool skipPrivate) const {
    return XmlForm::exportString(this, indent, skipPrivate);
}

void DataObject::importFromXmlStr(QObject* changer, const QString& xml, bool create, bool setValues,
                                  bool strict) {
    QXmlStreamReader reader(xml);
    importFromXml(changer, reader, create, setValues, strict);
}

}  // namespace kx
