#include "app/configfile.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/data/inputfile.h"
#include "framework/log/qflog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <QXmlStreamReader>

namespace {

// Enough for anyone editing by hand; past it the oldest copy is the one to look at.
constexpr int kMaxKeptCopies = 999;

}  // namespace

QHash<QString, QString>& ConfigFile::unconverted() {
    static QHash<QString, QString> texts;
    return texts;
}

QString ConfigFile::keptName(const QString& path, int n) {
    return n <= 1 ? path + QStringLiteral(".bad") : QStringLiteral("%1.%2.bad").arg(path).arg(n);
}

bool ConfigFile::isWellFormed(const QString& path) {
    QFile file(path);
    if (!kx::InputFile::check(path, nullptr) || !file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader reader(&file);
    bool sawElement = false;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement)
            sawElement = true;
    }
    return sawElement && !reader.hasError();
}

void ConfigFile::collectUnconverted(const QString& path) {
    // The same walk as the import: <c name="..."> enters a named child, <l> the next list
    // element of its parent.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader reader(&file);
    QStringList names;
    QVector<int> listed{0};
    while (!reader.atEnd() && !reader.hasError()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (reader.name() != QLatin1String("m") && !names.isEmpty()) {
                names.removeLast();
                listed.removeLast();
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement || reader.name() == QLatin1String("m"))
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        const int index = listed.last()++;
        const QString name = reader.name() == QLatin1String("l") ? QStringLiteral("#%1").arg(index)
                                                                 : a.value(QStringLiteral("name")).toString();
        names << name;
        listed << 0;
        if (!a.hasAttribute(QStringLiteral("value")) || !a.hasAttribute(QStringLiteral("type")))
            continue;
        bool typeOk = false;
        const int type = a.value(QStringLiteral("type")).toInt(&typeOk);
        QVariant value = a.value(QStringLiteral("value")).toString();
        if (typeOk && type != QMetaType::QString && !value.convert(type))
            unconverted().insert(names.join(QLatin1Char('.')), a.value(QStringLiteral("value")).toString());
    }
}

ConfigFile::Damage& ConfigFile::damage() {
    static Damage last;
    return last;
}

QString ConfigFile::takeDamageNotice() {
    const Damage d = damage();
    damage() = Damage();
    if (d.path.isEmpty())
        return QString();
    const QString text =
        QCoreApplication::translate("ConfigFile",
                                    "The configuration file %1 could not be read; the default "
                                    "settings are used.")
            .arg(QFileInfo(d.path).absoluteFilePath());
    if (d.keptAs.isEmpty())
        return text + QLatin1Char(' ') +
               QCoreApplication::translate("ConfigFile",
                                           "The damaged file could not be kept aside and is "
                                           "replaced when the program ends.");
    return text + QLatin1Char(' ') +
           QCoreApplication::translate("ConfigFile", "The damaged file was kept as %1.")
               .arg(QFileInfo(d.keptAs).absoluteFilePath());
}

bool ConfigFile::read(kx::DataObject* config, const QString& path, QString* keptAs) {
    if (keptAs)
        keptAs->clear();
    unconverted().clear();
    damage() = Damage();
    if (!QFileInfo::exists(path))
        return false;
    QString why;
    if (!kx::InputFile::check(path, &why)) {
        // A FIFO would block the start; moving it aside would not help either.
        kx::logE() << "config file " + path + " is " + why + "; defaults are used";
        return false;
    }
    // Check the whole file first so that one that breaks off half-way cannot leave the
    // configuration half-overwritten.
    if (isWellFormed(path)) {
        collectUnconverted(path);
        return kx::DataManager::readFromXmlFile(nullptr, config, path);
    }

    QString bad;
    for (int n = 1; n <= kMaxKeptCopies && bad.isEmpty(); ++n) {
        if (!QFileInfo::exists(keptName(path, n)) && !QFileInfo(keptName(path, n)).isSymLink())
            bad = keptName(path, n);
    }
    const bool kept = !bad.isEmpty() && QFile::rename(path, bad);
    kx::logE() << "config file " + path + " is unreadable; defaults are used "
               << (kept ? "and the file was kept as " + bad : QStringLiteral("and could not be kept"));
    damage() = Damage{path, kept ? bad : QString()};
    if (kept && keptAs)
        *keptAs = bad;
    return false;
}

bool ConfigFile::write(kx::DataObject* config, const QString& path) {
    // The values that did not convert are null in the tree; unless something set them since,
    // they go back as the text they were.
    for (auto it = unconverted().cbegin(); it != unconverted().cend(); ++it) {
        kx::DataObject* node = config->r(it.key());
        if (!node->isEmpty() && node->get().isNull())
            node->set(nullptr, it.value());
    }
    return kx::DataManager::writeToXmlFile(path, config, true, true);
}
