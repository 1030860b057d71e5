#pragma once

#include <QString>
#include <QStringList>

// The interface languages: which exist, which one this run shows and which one the next start
// will show. The stored choice is "config.language"; "--language" on the command line
// overrides it for one run without touching it.
class Language {
public:
    // Codes in the order the settings menu offers them.
    static QStringList codes();
    static bool isKnown(const QString& code);
    // Each language's name in its own script, so that a reader finds it in any interface.
    static QString nativeName(const QString& code);

    // The value of "--language CODE" or "--language=CODE"; empty without the option. A
    // missing or unknown code sets error to a one-line message and returns empty.
    static QString fromArguments(const QStringList& arguments, QString* error);

    // The stored choice ("config.language").
    static QString configured();
    static void setConfigured(const QString& code);

    // The language the texts of this run were loaded in; set once by the start-up.
    static QString running();
    static void setRunning(const QString& code);
};
