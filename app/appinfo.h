#pragma once

#include <QString>

// Product facts shown by the title label and the About box.
class AppInfo {
public:
    static QString version();
    // The compiler's build date as "Mar 14 2025" (month abbreviation, day, year).
    static QString buildDate();
    // Turns the compiler's "Mar  4 2025" into "Mar 4 2025".
    static QString normalizeDate(const QString& compilerDate);
};
