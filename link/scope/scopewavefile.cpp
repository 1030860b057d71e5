#include "link/scope/scopewavefile.h"

#include "framework/log/qflog.h"

#include <QFile>
#include <QSaveFile>

ScopeWaveFile::~ScopeWaveFile() {
    close();
}

bool ScopeWaveFile::open(const QString& path, QString* error, Mode mode, Format format) {
    close();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_path = path;
    m_failed = false;
    if (mode == Mode::Append)
        m_file = std::make_unique<QFile>(path);
    else
        m_file = std::make_unique<QSaveFile>(path);
    const auto flags = mode == Mode::Append ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly;
    if (path.isEmpty() || !m_file->open(flags)) {
        const QString why = path.isEmpty() ? QStringLiteral("no file name") : m_file->errorString();
        if (error)
            *error = why;
        kx::logE() << "scope: cannot open waveform file" << path << why;
        m_file.reset();
        return false;
    }
    m_format = format;
    m_lines = 0;
    m_open = true;
    return true;
}

bool ScopeWaveFile::close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
    if (!m_file)
        return true;
    bool ok = !m_failed;
    if (auto* save = dynamic_cast<QSaveFile*>(m_file.get())) {
        if (ok)
            ok = save->commit();
        else
            save->cancelWriting();
    } else {
        ok = m_file->flush() && ok;
        m_file->close();
    }
    if (!ok)
        kx::logE() << "scope: waveform file" << m_path << "not written whole:" << m_file->errorString();
    m_file.reset();
    return ok;
}

void ScopeWaveFile::discard() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
    if (auto* save = dynamic_cast<QSaveFile*>(m_file.get()))
        save->cancelWriting();
    m_file.reset();
}

QString ScopeWaveFile::path() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_path;
}

void ScopeWaveFile::write(const QByteArray& line) {
    if (!m_open.load(std::memory_order_relaxed))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file || m_failed)
        return;
    if (m_file->write(line) != line.size()) {
        kx::logE() << "scope: waveform file" << m_path << "not written:" << m_file->errorString()
                   << "- recording stopped";
        m_failed = true;
        m_open = false;
        return;
    }
    ++m_lines;
}
