#include "link/scope/scopewavefile.h"

#include "framework/log/qflog.h"

ScopeWaveFile::~ScopeWaveFile() {
    close();
}

QString ScopeWaveFile::partialPath(const QString& path) {
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    // Before the last suffix, if the name has one (a leading dot starts no suffix).
    if (dot <= slash + 1)
        return path + QStringLiteral(".partial");
    return path.left(dot) + QStringLiteral(".partial") + path.mid(dot);
}

bool ScopeWaveFile::open(const QString& path, QString* error, Mode mode, Format format) {
    close();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_path = path;
    m_failed = false;
    m_closedOk = true;
    m_keptAs.clear();
    m_error.clear();
    bool opened = false;
    if (path.isEmpty()) {
        m_error = QStringLiteral("no file name");
    } else if (mode == Mode::Append) {
        m_append = std::make_unique<QFile>(path);
        opened = m_append->open(QIODevice::WriteOnly | QIODevice::Append);
        if (!opened) {
            m_error = m_append->errorString();
            m_append.reset();
        }
    } else {
        m_replace = std::make_unique<kx::AtomicFile>(path);
        opened = m_replace->open();
        if (!opened) {
            m_error = m_replace->errorString();
            m_replace.reset();
        }
    }
    if (!opened) {
        if (error)
            *error = m_error;
        kx::logE() << "scope: cannot open waveform file " << path << ": " << m_error;
        return false;
    }
    m_format = format;
    m_lines = 0;
    m_open = true;
    return true;
}

bool ScopeWaveFile::closeLocked(const QString& target, QString* keptAs) {
    m_open = false;
    if (!m_replace && !m_append) {
        // Closed already (the link went first): the answer is that close's.
        if (keptAs)
            *keptAs = m_keptAs;
        return m_closedOk;
    }
    m_keptAs.clear();
    bool ok = !m_failed;
    if (m_replace) {
        if (ok)
            ok = target.isEmpty() ? m_replace->commit() : m_replace->commitAs(target);
        else
            m_replace->discard();
        if (!ok && m_error.isEmpty())
            m_error = m_replace->errorString();
        if (ok)
            m_keptAs = target;
        m_replace.reset();
    } else if (m_append) {
        // Buffered lines fail only when flushed: a full disk shows here.
        if (ok && (!m_append->flush() || m_append->error() != QFileDevice::NoError)) {
            ok = false;
            m_error = m_append->errorString();
        }
        m_append->close();
        m_append.reset();
    }
    if (!ok)
        kx::logE() << "scope: waveform file " << m_path << " not written whole: " << m_error;
    m_closedOk = ok;
    if (keptAs)
        *keptAs = m_keptAs;
    return ok;
}

bool ScopeWaveFile::close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return closeLocked(QString(), nullptr);
}

bool ScopeWaveFile::closePartial(QString* keptAs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return closeLocked(m_replace ? partialPath(m_path) : QString(), keptAs);
}

void ScopeWaveFile::discard() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
    m_replace.reset();  // the new file goes; the path stays as it was
    if (m_append) {
        m_append->close();
        m_append.reset();
    }
}

QString ScopeWaveFile::path() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_path;
}

QString ScopeWaveFile::errorString() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

void ScopeWaveFile::write(const QByteArray& line) {
    if (!m_open.load(std::memory_order_relaxed))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_failed)
        return;
    bool written = false;
    if (m_replace) {
        written = m_replace->write(line);
        if (!written)
            m_error = m_replace->errorString();
    } else if (m_append) {
        written = m_append->write(line) == line.size();
        if (!written)
            m_error = m_append->errorString();
    } else {
        return;
    }
    if (!written) {
        kx::logE() << "scope: waveform file " << m_path << " not written: " << m_error
                   << "; recording stopped";
        m_failed = true;
        m_open = false;
        return;
    }
    ++m_lines;
}
