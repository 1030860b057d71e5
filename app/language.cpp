#include "app/language.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QCoreApplication>

namespace {

QString& runningCode() {
    static QString code;
    return code;
}

}  // namespace

QStringList Language::codes() {
    return {QStringLiteral("zh_CN"), QStringLiteral("en")};
}

bool Language::isKnown(const QString& code) {
    return codes().contains(code);
}

QString Language::nativeName(const QString& code) {
    if (code == QLatin1String("zh_CN"))
        return QStringLiteral("中文");
    if (code == QLatin1String("en"))
        return QStringLiteral("English");
    return code;
}

QString Language::fromArguments(const QStringList& arguments, QString* error) {
    const QString option = QStringLiteral("--language");
    QString code;
    bool given = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == option) {
            given = true;
            code = i + 1 < arguments.size() ? arguments[++i] : QString();
        } else if (argument.startsWith(option + QLatin1Char('='))) {
            given = true;
            code = argument.mid(option.size() + 1);
        }
    }
    if (!given)
        return QString();
    if (!isKnown(code)) {
        if (error) {
            *error = QCoreApplication::translate("Language", "--language expects one of %1, not \"%2\".")
                         .arg(codes().join(QStringLiteral(", ")), code);
        }
        return QString();
    }
    return code;
}

QString Language::configured() {
    return kx::d(QStringLiteral("config.language"))->getString(QString());
}

void Language::setConfigured(const QString& code) {
    kx::d().rootDobj()->set(nullptr, QStringLiteral("config.language"), code, true);
}

QString Language::running() {
    return runningCode();
}

void Language::setRunning(const QString& code) {
    runningCode() = code;
}
