#include "framework/core/convertcommand.h"

#include "framework/data/binform.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

#include <memory>

namespace kx {

namespace {

enum class Form { Json, Xml, Bin, Unknown };

// Type words are matched case-insensitively by their start, so "json" and "Xml" work.
Form formOf(const QString& word) {
    if (word.startsWith(QLatin1String("JSON"), Qt::CaseInsensitive)) {
        return Form::Json;
    }
    if (word.startsWith(QLatin1String("XML"), Qt::CaseInsensitive)) {
        return Form::Xml;
    }
    if (word.startsWith(QLatin1String("BIN"), Qt::CaseInsensitive)) {
        return Form::Bin;
    }
    return Form::Unknown;
}

// The text after the last "<option>=", trimmed; empty when the option carries no "=".
QString optionText(const QString& arguments, const QString& option) {
    const QString marker = option + QLatin1Char('=');
    const int at = arguments.lastIndexOf(marker);
    return at < 0 ? QString() : arguments.mid(at + marker.size()).trimmed();
}

}  // namespace

ConvertCommand::ConvertCommand(QObject* parent) : BaseCommand(QStringLiteral("convert"), false, parent) {}

QString ConvertCommand::usage() const {
    return tr("convert JSON|XML|BIN JSON|XML|BIN -data=<data>|-path=<path>");
}

QString ConvertCommand::instruction() const {
    return tr("Convert 1st type of data to 2nd type");
}

void ConvertCommand::run(DataObject*, const QString& arguments) {
    const QStringList words = arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString origin = words.value(0).trimmed();
    const QString target = words.value(1).trimmed();
    if (origin == target) {
        emit error(tr("origin type is same with target type"));
        return;
    }
    const std::unique_ptr<DataObject> temp(new DataObject(QString()));
    const Form from = formOf(origin);
    if (arguments.contains(QLatin1String("-path"))) {
        const QString path = optionText(arguments, QStringLiteral("-path"));
        switch (from) {
            case Form::Json:
                temp->importFromJson(this, DataManager::readFromJson(path), true, true, false);
                break;
            case Form::Xml:
                DataManager::readFromXmlFile(this, temp.get(), path);
                break;
            case Form::Bin:
                temp->importFromBin(this, DataManager::readFromBin(path), true, true, false);
                break;
            case Form::Unknown:
                emit error(tr("unknown origin type: ") + origin);
                return;
        }
    } else if (arguments.contains(QLatin1String("-data"))) {
        const QString data = optionText(arguments, QStringLiteral("-data"));
        switch (from) {
            case Form::Json: {
                const QJsonDocument document = QJsonDocument::fromJson(data.toUtf8());
                const QJsonObject object = document.object();
                temp->importFromJson(this,
                                     object.isEmpty() ? QJsonValue(document.array()) : QJsonValue(object),
                                     true, true, false);
                break;
            }
            case Form::Xml: {
                QXmlStreamReader reader(data);
                temp->importFromXml(this, reader, true, true, true);
                break;
            }
            case Form::Bin: {
                QString hex = data;
                hex.remove(QLatin1Char(' '));
                const QByteArray record = BinForm::uncompress(QByteArray::fromHex(hex.toLatin1()));
                temp->importFromBin(this, record, true, true, false);
                break;
            }
            case Form::Unknown:
                break;
        }
    }

    switch (formOf(target)) {
        case Form::Json: {
            const QJsonValue value = temp->exportToJson(false);
            if (value.isArray()) {
                emit output(
                    QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Indented)));
            } else if (value.isObject()) {
                emit output(
                    QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Indented)));
            } else {
                emit output(value.toVariant().toString());
            }
            break;
        }
        case Form::Xml:
            emit output(temp->exportToXmlStr(4, false));
            break;
        case Form::Bin:
            emit output(QString::fromLatin1(qCompress(temp->exportToBin(false)).toHex(' ')));
            break;
        case Form::Unknown:
            break;
    }
}

}  // namespace kx
