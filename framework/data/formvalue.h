#pragma once

#include <QString>
#include <QVariant>

namespace kx {

// Value and name rules shared by the interchange forms.
class FormValue {
public:
    // Run-time state ("_" names) that skipPrivate leaves out of objects, maps and child lists.
    static bool isPrivateName(const QString& name) { return name.startsWith(QLatin1Char('_')); }

    // Whether a value counts as "no value" in a saved form: invalid, a null pointer, or null
    // by Qt's own measure. Sizes, points, rectangles and lines at zero are real values (a
    // motor at the origin is a position), so for them only an explicitly null variant counts.
    static bool isNull(const QVariant& value);

    // Text that XML 1.0 can carry: control characters other than tab, line feed and carriage
    // return, lone surrogates and the two non-characters become U+FFFD. The stream writer
    // would write them raw and leave a file that no reader accepts.
    static QString xmlSafe(const QString& text);
};

}  // namespace kx
