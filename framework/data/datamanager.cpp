#include "framework/data/datamanager.h"

#include "framework/core/commandmanager.h"
#include "framework/core/convertcommand.h"
#include "framework/data/atomicfile.h"
#include "framework/data/binform.h"
#include "framework/data/dataobject.h"
#include "framework/data/emptydataobject.h"
#include "framework/data/inputfile.h"
#include "framework/data/xmlform.h"
#include "framework/log/qflog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCodec>
#include <QVector>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace kx {

class DataManagerPrivate {
public:
    DataObject* root = new DataObject(QStringLiteral("@m"));
    EmptyDataObject* empty = new EmptyDataObject();
    QVector<int> reserved;
};

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Creates the directory of path when it is missing; false when that fails.
bool makeParentPath(const QString& path) {
    const QDir dir = QFileInfo(path).absoluteDir();
    return dir.exists() || QDir().mkpath(dir.absolutePath());
}

// Writes data through a temporary file that replaces path only once it is complete, so a
// failed write never leaves a truncated or half-written file behind.
bool writeAtomically(const QString& path, const QByteArray& data) {
    return AtomicFile::writeAll(path, data, nullptr);
}

// Reads a whole file; false when it cannot be opened. A FIFO or a device is not opened: it
// would wait for a writer or never end.
bool readAll(const QString& path, QByteArray* bytes) {
    if (!InputFile::check(path, nullptr))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

// Parses JSON bytes, retrying once in UTF-8 when the bytes are in the local GBK encoding.
QJsonDocument parseJson(const QString& path, const QByteArray& bytes, bool* ok) {
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::IllegalUTF8String)
        document = QJsonDocument::fromJson(DataManager::convertToUtf8(bytes).toUtf8(), &error);
    *ok = error.error == QJsonParseError::NoError;
    if (!*ok) {
        logE() << "<m><static> read invalid json from: " << quoted(path)
               << ", parse error: " << quoted(error.errorString());
    }
    return document;
}

}  // namespace

DataManager::DataManager() : d_ptr(new DataManagerPrivate) {
    // The framework's own text command; it lives and dies with the tree root.
    CommandManager::instance().regist(new ConvertCommand(d_ptr->root));
}

DataManager::~DataManager() {
    delete d_ptr->root;
    delete d_ptr->empty;
    delete d_ptr;
}

DataManager& DataManager::instance() {
    static DataManager manager;
    return manager;
}

DataObject* DataManager::rootDobj() const {
    return d_ptr->root;
}

DataObject* DataManager::emptyDobj() const {
    return d_ptr->empty;
}

DataObject* DataManager::operator()(const QString& path, DataObject* base) const {
    return (base ? base : d_ptr->root)->rdobj(path);
}

DataObject* DataManager::regist(QObject* changer, const QString& path) {
    if (!d_ptr->root->insert(changer, path, false))
        return d_ptr->empty;
    return d_ptr->root->rdobj(path);
}

bool DataManager::cancel(QObject* changer, const QString& path) {
    return d_ptr->root->remove(changer, path, true);
}

DataObject* DataManager::create(const QString& name, DataObject* parent) {
    return new DataObject(name, parent);
}

void DataManager::reserve(int count) {
    d_ptr->reserved.reserve(count);
}

QString DataManager::separator() {
    return QStringLiteral(".");
}

QByteArray DataManager::readFromBin(const QString& path) {
    QByteArray bytes;
    if (!readAll(path, &bytes)) {
        logE() << "<m><static> cannot read binary file: " << quoted(path);
        return QByteArray();
    }
    // A forged size header would make qUncompress allocate gigabytes before failing.
    return BinForm::uncompress(bytes);
}

bool DataManager::writeToBin(const QString& path, const QByteArray& data, int level, bool makePath) {
    if (makePath && !makeParentPath(path)) {
        logE() << "<m><static> cannot create path " << quoted(path) << " to write binary file";
        return false;
    }
    if (!writeAtomically(path, qCompress(data, level))) {
        logE() << "<m><static> cannot write binary file: " << quoted(path);
        return false;
    }
    return true;
}

QJsonValue DataManager::readFromJson(const QString& path) {
    QByteArray bytes;
    if (!readAll(path, &bytes)) {
        logE() << "<m><static> cannot read json file: " << quoted(path);
        return QJsonValue(QJsonValue::Null);
    }
    bool ok = false;
    const QJsonDocument document = parseJson(path, bytes, &ok);
    if (document.isObject())
        return document.object();
    return document.array();
}

QVariant DataManager::readFromJsonAsVariant(const QString& path) {
    QByteArray bytes;
    if (!readAll(path, &bytes)) {
        logE() << "<m><static> cannot read json file: " << quoted(path);
        return QVariant();
    }
    bool ok = false;
    const QJsonDocument document = parseJson(path, bytes, &ok);
    if (document.isObject())
        return document.object().toVariantMap();
    // A parse failure gives an empty list, like the empty array of readFromJson.
    return document.array().toVariantList();
}

bool DataManager::writeToJson(const QString& path, const QJsonValue& value, bool makePath) {
    if (!value.isObject() && !value.isArray()) {
        logE() << "<m><static> writing json is neither array nor object: " << quoted(path);
        return false;
    }
    if (makePath && !makeParentPath(path)) {
        logE() << "<m><static> cannot create foler " << quoted(path) << " to write json";
        return false;
    }
    const QJsonDocument document =
        value.isObject() ? QJsonDocument(value.toObject()) : QJsonDocument(value.toArray());
    if (!writeAtomically(path, document.toJson(QJsonDocument::Indented))) {
        logE() << "<m><static> cannot write json file: " << quoted(path);
        return false;
    }
    return true;
}

QString DataManager::convertToUtf8(const QByteArray& bytes) {
    QTextCodec::ConverterState state;
    const QString text =
        QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0)
        return text;
    if (QTextCodec* gbk = QTextCodec::codecForName("GBK"))
        return gbk->toUnicode(bytes);
    return text;
}

bool DataManager::readFromXmlFile(QObject* changer, DataObject* node, const QString& path) {
    if (!node || node->isEmpty()) {
        logE() << "<m><static> try to read xml for an empty mobj";
        return false;
    }
    QByteArray bytes;
    if (!InputFile::read(path, BinForm::kMaxExpanded, &bytes, nullptr)) {
        logE() << "<m><static> cannot read xml file: " << quoted(path);
        return false;
    }
    // An element with thousands of attributes would hold the reader for minutes.
    const QString tooMany = XmlForm::attributeProblem(bytes);
    if (!tooMany.isEmpty()) {
        logE() << "<m><static> read invalid xml from: " << quoted(path) << ": " << tooMany;
        return false;
    }
    QXmlStreamReader reader(bytes);
    node->importFromXml(changer, reader, true, true, true);
    // The import stops quietly where a damaged file ends; a caller that takes the result for a
    // whole file would save the fragment over it. The rest is read too, so that damage after
    // the top element counts as well.
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    if (reader.hasError()) {
        logE() << "<m><static> read invalid xml from: " << quoted(path) << " (" << reader.lineNumber() << ", "
               << reader.columnNumber() << "): " << reader.errorString();
        return false;
    }
    return true;
}

bool DataManager::writeToXmlFile(const QString& path, DataObject* node, bool makePath, bool skipPrivate) {
    if (!node || node->isEmpty()) {
        logE() << "<m><static> try to write xml from an empty mobj";
        return false;
    }
    if (makePath && !makeParentPath(path)) {
        logE() << "<m><static> cannot create path " << quoted(path) << " to write xml";
        return false;
    }
    AtomicFile file(path);
    bool ok = file.open();
    if (ok) {
        QXmlStreamWriter writer(file.device());
        writer.setAutoFormatting(true);
        writer.setAutoFormattingIndent(4);
        writer.writeStartDocument();
        node->exportToXml(writer, true, skipPrivate);
        writer.writeEndDocument();
        ok = !writer.hasError() && file.commit();
        if (!ok)
            file.discard();
    }
    if (!ok) {
        logE() << "<m><static> cannot write xml file: " << quoted(path);
        return false;
    }
    return true;
}

DataManager& d() {
    return DataManager::instance();
}

DataObject* d(const QString& path, DataObject* base) {
    return DataManager::instance()(path, base);
}

}  // namespace kx

QString dName(const QString& a, const QString& b) {
    return a + QLatin1Char('.') + b;
}

QString dName(const QString& a, const QString& b, const QString& c) {
    return dName(a, b) + QLatin1Char('.') + c;
}

QString dName(const QString& a, const QString& b, const QString& c, const QString& d) {
    return dName(a, b, c) + QLatin1Char('.') + d;
}

QString dName(const QString& a, const QString& b, const QString& c, const QString& d, const QString& e) {
    return dName(a, b, c, d) + QLatin1Char('.') + e;
}

QString dName(const QString& a, const QString& b, const QString& c, const QString& d, const QString& e,
              const QString& f) {
    return dName(a, b, c, d, e) + QLatin1Char('.') + f;
}

QString dName(const QString& a, const QString& b, const QString& c, const QString& d, const QString& e,
              const QString& f, const QString& g) {
    return dName(a, b, c, d, e, f) + QLatin1Char('.') + g;
}

QString dIndex(int index, const QString& name) {
    return index >= 0 ? QLatin1Char('#') + QString::number(index) : name;
}
