#include "framework/i18n/translationmanager.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/log/qflog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTranslator>

namespace kx {

namespace {

// A dictionary larger than this is not a dictionary; reading it would only cost memory.
const qint64 kMaxDictionaryBytes = 64 * 1024 * 1024;

}  // namespace

TranslationManager& TranslationManager::instance() {
    static TranslationManager manager;
    return manager;
}

TranslationManager::TranslationManager() {
    QString language = d(QStringLiteral("tesk.cfg.common.language"))->getString();
    if (language.isEmpty()) {
        language = QStringLiteral("en");
    }
    const QString resource = QStringLiteral(":/tesk/language/qt_%1.qm")
                                 .arg(language == QLatin1String("cn") ? QStringLiteral("zh_CN") : language);
    // A language without a framework file (English among them) has nothing to install.
    if (QFile::exists(resource)) {
        installQMTranslator(resource);
    }

    const QDir folder(QStringLiteral("./i18n"));
    const QFileInfoList files = folder.entryInfoList(
        {QStringLiteral("*_%1.qm").arg(language)}, QDir::Files | QDir::NoDotAndDotDot | QDir::CaseSensitive);
    for (const QFileInfo& file : files) {
        const bool installed = installQMTranslator(file.absoluteFilePath());
        logI() << "<translator> install " << language << " language qm " << file.baseName()
               << (installed ? " succeed" : " failed");
    }
}

TranslationManager::~TranslationManager() {
    m_qmTranslators.clear();
    std::lock_guard<std::mutex> lock(m_jsonMutex);
    m_jsonTranslators.clear();
}

bool TranslationManager::installQMTranslator(const QString& path) {
    if (m_qmTranslators.contains(path)) {
        logW().space() << "qm translator already exists:" << path;
        return false;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(path)) {
        logE().space() << "qm transtor load failed:" << path;
        delete translator;
        return false;
    }
    if (!QCoreApplication::installTranslator(translator)) {
        logE().space() << "qm transtor install failed:" << path;
        delete translator;
        return false;
    }
    m_qmTranslators.insert(path, translator);
    return true;
}

bool TranslationManager::removeQMTranslator(const QString& path) {
    QTranslator* translator = m_qmTranslators.value(path);
    if (!translator) {
        logW().space() << "qm translator not exist:" << path;
        return false;
    }
    if (!QCoreApplication::removeTranslator(translator)) {
        logE().space() << "qm translator remove failed:" << path;
        return false;
    }
    delete translator;
    m_qmTranslators.remove(path);
    return true;
}

bool TranslationManager::installJsonTranslator(const QString& name, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxDictionaryBytes) {
        logE().space() << "json translator file cannot read:" << path;
        return false;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    return installJsonTranslator(name, document.isObject() ? document.object() : QJsonObject());
}

bool TranslationManager::installJsonTranslator(const QString& name, const QJsonObject& dictionary) {
    bool wellFormed = !dictionary.isEmpty();
    for (auto it = dictionary.begin(); wellFormed && it != dictionary.end(); ++it) {
        wellFormed = it.value().isString();
    }
    if (!wellFormed) {
        logW().space() << "json translator detects wrong format!";
        return false;
    }
    std::lock_guard<std::mutex> lock(m_jsonMutex);
    m_jsonTranslators.insert(name, dictionary);
    return true;
}

bool TranslationManager::removeJsonTranslator(const QString& name) {
    std::unique_lock<std::mutex> lock(m_jsonMutex);
    if (!m_jsonTranslators.remove(name)) {
        lock.unlock();
        logE().space() << "json translator not exist:" << name;
        return false;
    }
    return true;
}

QString TranslationManager::dtr(const QString& name, const QString& text) const {
    std::lock_guard<std::mutex> lock(m_jsonMutex);
    const auto dictionary = m_jsonTranslators.constFind(name);
    if (dictionary == m_jsonTranslators.constEnd()) {
        return text;
    }
    const QJsonValue value = dictionary->value(text);
    return value.isString() ? value.toString() : text;
}

bool TranslationManager::exists(const QString& name, const QString& text) const {
    std::lock_guard<std::mutex> lock(m_jsonMutex);
    const auto dictionary = m_jsonTranslators.constFind(name);
    return dictionary != m_jsonTranslators.constEnd() && dictionary->contains(text);
}

}  // namespace kx
