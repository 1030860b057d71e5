#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include "link/monitor/tracefileformat.h"
#include "link/monitor/tracerecord.h"

// Writes a trace as a candump log or an ASC file. The file is replaced only by commit(), and
// only when every write reached it. Candump and ASC carry frames only: AT lines and skipped
// bytes are left out and counted.
class TraceFileWriter {
public:
    TraceFileWriter(const QString& path, TraceFileFormat format);

    bool open(QString* error);
    void add(const TraceRecord& record);
    bool commit(QString* error);
    // Drops what was written; the old file stays.
    void cancel();

    quint64 frames() const { return m_frames; }
    quint64 leftOut() const { return m_leftOut; }

private:
    bool flush();

    QSaveFile m_file;
    TraceFileFormat m_format;
    QByteArray m_buffer;
    bool m_started = false;  // the ASC header went out
    bool m_failed = false;
    qint64 m_startUs = 0;
    quint64 m_frames = 0;
    quint64 m_leftOut = 0;
};
