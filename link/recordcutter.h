#pragma once

#include <QByteArray>

// Cuts the received byte stream into records. A record that starts with "AT" and whose
// byte 6 is a length 0..8 is taken by its length (n + 9 bytes ending in CR LF), so data
// bytes may hold 0D 0A; text lines (adapter answers) end at CR LF. Garbage is skipped up to
// the next plausible record start; memory stays bounded whatever arrives.
class RecordCutter {
public:
    // A text line that grows past this without CR LF is dropped.
    static constexpr int kMaxLine = 4096;

    void append(const QByteArray& bytes);
    // Takes the next complete record (frame record or text line, CR LF included).
    bool next(QByteArray* record);
    void clear();
    int pending() const { return m_buffer.size() - m_pos; }
    // Bytes discarded so far while resynchronising (line noise, overlong lines).
    qint64 droppedBytes() const { return m_dropped; }
    // With keep on, the bytes skipped while resynchronising are kept (the newest 4 KiB) until
    // taken, so an observer can show what could not be cut.
    void setKeepSkipped(bool keep) { m_keepSkipped = keep; }
    QByteArray takeSkipped();

private:
    // Length of a complete, well-framed frame record at offset `at`; 0 when the bytes there
    // cannot be one, -1 when more bytes are needed to tell.
    int frameAt(int at) const;
    void skip(int count);

    QByteArray m_buffer;
    int m_pos = 0;  // read offset: consumed bytes stay in front until the next compaction
    qint64 m_dropped = 0;
    bool m_keepSkipped = false;
    QByteArray m_skipped;
};
