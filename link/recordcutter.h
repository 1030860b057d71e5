#pragma once

#include <QByteArray>

// Cuts the received byte stream into records. A record that starts with "AT" and whose
// byte 6 is a length 0..8 is taken by its length (n + 9 bytes ending in CR LF), so data
// bytes may hold 0D 0A; text lines (adapter answers) end at CR LF. Garbage is skipped up to
// the next plausible record start; memory stays bounded whatever arrives.
class RecordCutter {
public:
    void append(const QByteArray& bytes);
    // Takes the next complete record (frame record or text line, CR LF included).
    bool next(QByteArray* record);
    void clear();
    int pending() const { return m_buffer.size(); }

private:
    QByteArray m_buffer;
};
