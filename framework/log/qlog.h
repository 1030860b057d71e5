#pragma once

#include <QDebug>
#include <QString>
#include <QVariant>

namespace kx {

// One coloured console line through Qt's message output; finished when the last copy dies.
class QLog {
public:
    QLog(const QString& colour, const QString& tag, const QString& note = QString());
    QLog(const QLog& other);
    QLog& operator=(const QLog& other);
    ~QLog();

    QLog& operator<<(const QString& text);
    QLog& operator<<(const QVariant& value);
    QLog& operator<<(const void* pointer);
    QLog& space();

    template <typename T>
    QLog& write(const T& value) {
        m_stream << value;
        return *this;
    }

private:
    QDebug m_stream;
};

}  // namespace kx
