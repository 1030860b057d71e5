#pragma once

#include <QDebug>
#include <QString>
#include <QVariant>

#include <memory>

namespace kx {

// One console line through Qt's message output, coloured when the console is a terminal;
// finished when the last copy dies.
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
        m_line->stream << value;
        return *this;
    }

private:
    // The line is collected in a string and handed to Qt's message output in one piece when
    // the last copy goes, so a spaced line loses its trailing blank before the colour reset.
    struct Line {
        Line();
        ~Line();
        QString text;
        QDebug stream;
        bool spaced = false;
        bool coloured = false;
    };
    std::shared_ptr<Line> m_line;
};

}  // namespace kx
