#pragma once

#include <QDebug>
#include <QFile>
#include <QString>
#include <QVariant>

namespace kx {

// One line appended to the dated log file "<base>_yyyyMMdd.<extension>". A file that cannot
// be opened costs only this line: everything written is then ignored.
class FLog : public QFile {
public:
    FLog(const QString& tag, const QString& note, const QString& base, const QString& extension);
    ~FLog() override;

    FLog& operator<<(const QString& text);
    FLog& operator<<(const QVariant& value);
    FLog& operator<<(const void* pointer);
    FLog& space();

    template <typename T>
    FLog& write(const T& value) {
        if (isOpen())
            m_stream << value;
        return *this;
    }

    static QString fileName(const QString& base, const QString& extension);

private:
    // The line is collected first and appended with a single write, so lines logged by
    // several threads at once never interleave within the file.
    QString m_text;
    QDebug m_stream;
    bool m_spaced = false;
};

}  // namespace kx
