#include "link/monitor/tracefilewriter.h"

#include "link/monitor/ascformat.h"
#include "link/monitor/candumpformat.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

constexpr int kChunk = 1 << 20;

QString tr(const char* text) {
    return QCoreApplication::translate("TraceFileWriter", text);
}

}  // namespace

TraceFileWriter::TraceFileWriter(const QString& path, TraceFileFormat format)
    : m_file(path), m_format(format) {}

bool TraceFileWriter::open(QString* error) {
    if (!m_file.open(QIODevice::WriteOnly)) {
        *error = m_file.errorString();
        return false;
    }
    m_buffer.reserve(kChunk + 256);
    return true;
}

void TraceFileWriter::add(const TraceRecord& record) {
    if (!record.isFrame()) {
        ++m_leftOut;
        return;
    }
    if (m_format == TraceFileFormat::Asc) {
        if (!m_started) {
            m_startUs = record.timeUs;
            m_buffer += AscFormat::header(m_startUs);
            m_started = true;
        }
        AscFormat::appendLine(&m_buffer, record, m_startUs);
    } else {
        CandumpFormat::appendLine(&m_buffer, record);
    }
    ++m_frames;
    if (m_buffer.size() >= kChunk)
        flush();
}

bool TraceFileWriter::flush() {
    if (m_failed || m_buffer.isEmpty()) {
        m_buffer.clear();
        return !m_failed;
    }
    if (m_file.write(m_buffer) != m_buffer.size())
        m_failed = true;
    m_buffer.clear();
    return !m_failed;
}

bool TraceFileWriter::commit(QString* error) {
    if (m_format == TraceFileFormat::Asc) {
        if (!m_started)
            m_buffer += AscFormat::header(QDateTime::currentMSecsSinceEpoch() * 1000);
        m_buffer += AscFormat::footer();
    }
    flush();
    // A failed write can leave commit() reporting success: the old file must then stay.
    if (m_failed || m_file.error() != QFileDevice::NoError) {
        *error =
            m_file.errorString().isEmpty() ? tr("the file could not be written whole") : m_file.errorString();
        m_file.cancelWriting();
        m_file.commit();
        return false;
    }
    if (!m_file.commit()) {
        *error = m_file.errorString();
        return false;
    }
    return true;
}

void TraceFileWriter::cancel() {
    m_buffer.clear();
    m_file.cancelWriting();
    m_file.commit();
}
