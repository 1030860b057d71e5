#pragma once

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <mutex>

class QTranslator;

namespace kx {

// Compiled translation files installed into the application, and named JSON dictionaries
// for texts translated on demand. Construction installs the framework's own file for the
// configured language ("tesk.cfg.common.language", default "en") and every "*_<language>.qm"
// in "./i18n".
class TranslationManager : public QObject {
    Q_OBJECT

public:
    static TranslationManager& instance();
    ~TranslationManager() override;

    bool installQMTranslator(const QString& path);
    bool removeQMTranslator(const QString& path);
    bool installJsonTranslator(const QString& name, const QString& path);
    bool installJsonTranslator(const QString& name, const QJsonObject& dictionary);
    bool removeJsonTranslator(const QString& name);
    // The dictionary's translation of text, or text itself. Safe from any thread.
    QString dtr(const QString& name, const QString& text) const;
    bool exists(const QString& name, const QString& text) const;

private:
    TranslationManager();

    // Installed into the application, which owns them (translators need the application).
    QHash<QString, QTranslator*> m_qmTranslators;
    QHash<QString, QJsonObject> m_jsonTranslators;
    mutable std::mutex m_jsonMutex;
};

}  // namespace kx
