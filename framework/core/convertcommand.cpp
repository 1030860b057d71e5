#include "framework/core/convertcommand.h"

#include "framework/data/binform.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/data/inputfile.h"
#include "framework/data/xmlform.h"

#include <QFileInfo>
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

QString ConvertCommand::importInput(DataObject* temp, int form, const QByteArray& input) {
    switch (Form(form)) {
        case Form::Json: {
            QJsonParseError parseError;
            QJsonDocument document = QJsonDocument::fromJson(input, &parseError);
            if (parseError.error == QJsonParseError::IllegalUTF8String) {
                document = QJsonDocument::fromJson(DataManager::convertToUtf8(input).toUtf8(), &parseError);
            }
            if (parseError.error != QJsonParseError::NoError) {
                return tr("invalid JSON at offset %1: %2")
                    .arg(parseError.offset)
                    .arg(parseError.errorString());
            }
            temp->importFromJson(
                this, document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array()),
                true, true, false);
            return QString();
        }
        case Form::Xml: {
            const QString tooMany = XmlForm::attributeProblem(input);
            if (!tooMany.isEmpty())
                return tr("refused XML: %1").arg(tooMany);
            QXmlStreamReader reader(input);
            temp->importFromXml(this, reader, true, true, true);
            while (!reader.atEnd() && !reader.hasError()) {
                reader.readNext();
            }
            if (reader.hasError()) {
                return tr("invalid XML at line %1, column %2: %3")
                    .arg(reader.lineNumber())
                    .arg(reader.columnNumber())
                    .arg(reader.errorString());
            }
            return QString();
        }
        case Form::Bin: {
            QString why;
            const QByteArray record = BinForm::uncompress(input, &why);
            if (record.isEmpty()) {
                return tr("not a compressed binary record (offset 0)") +
                       (why.isEmpty() ? QString() : QStringLiteral(": ") + why);
            }
            const qint64 damage = BinForm::damageOffset(record);
            if (damage >= 0) {
                return tr("damaged binary record at offset %1 of the uncompressed data").arg(damage);
            }
            temp->importFromBin(this, record, true, true, false);
            return QString();
        }
        case Form::Unknown:
            break;
    }
    return tr("unknown origin type");
}

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
    const Form from = formOf(origin);
    if (from == Form::Unknown) {
        emit error(tr("unknown origin type: ") + origin);
        return;
    }
    QByteArray input;
    QString source;
    if (arguments.contains(QLatin1String("-path"))) {
        source = optionText(arguments, QStringLiteral("-path"));
        // Input is bounded before it is parsed: a device or FIFO is refused, and a file past
        // the largest record this form expands to is not a data tree.
        QString why;
        if (!InputFile::read(source, BinForm::kMaxExpanded, &input, &why)) {
            const bool exists = QFileInfo::exists(source);
            emit error(tr("cannot read file: ") + source +
                       (exists ? QStringLiteral(" (") + why + QLatin1Char(')') : QString()));
            return;
        }
    } else if (arguments.contains(QLatin1String("-data"))) {
        source = QStringLiteral("-data");
        const QString data = optionText(arguments, source);
        if (from == Form::Bin) {
            QString hex = data;
            hex.remove(QLatin1Char(' '));
            input = QByteArray::fromHex(hex.toLatin1());
        } else {
            input = data.toUtf8();
        }
    }
    if (source.isEmpty()) {
        emit error(tr("no input: -path=<path> or -data=<data>"));
        return;
    }
    const std::unique_ptr<DataObject> temp(new DataObject(QString()));
    // A converted fragment of damaged input would pass for the whole: the input is checked
    // first, and a failure names the source and where it breaks.
    const QString failure = importInput(temp.get(), int(from), input);
    if (!failure.isEmpty()) {
        emit error(source + QLatin1String(": ") + failure);
        return;
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
