#include "link/scope/scopewavefile.h"

#include "framework/log/qflog.h"

ScopeWaveFile::~ScopeWaveFile() {
    close();
}

bool ScopeWaveFile::open(const QString& path, QString* error) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_file.isOpen())
        m_file.close();
    m_file.setFileName(path);
    if (path.isEmpty() || !m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = path.isEmpty() ? QStringLiteral("no file name") : m_file.errorString();
        kx::logE() << "scope: cannot open waveform file" << path << m_file.errorString();
        m_open = false;
        return false;
    }
    m_lines = 0;
    m_open = true;
    return true;
}

void ScopeWaveFile::close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file.isOpen())
        return;
    if (!m_file.flush())
        kx::logE() << "scope: waveform file" << m_file.fileName() << "not written:" << m_file.errorString();
    m_file.close();
    m_open = false;
}

QString ScopeWaveFile::path() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_file.fileName();
}

void ScopeWaveFile::write(const QByteArray& line) {
    if (!m_open.load(std::memory_order_relaxed))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file.isOpen())
        return;
    if (m_file.write(line) != line.size()) {
        kx::logE() << "scope: waveform file" << m_file.fileName() << "not written:" << m_file.errorString()
                   << "- recording stopped";
        m_file.close();
        m_open = false;
        return;
    }
    ++m_lines;
}
