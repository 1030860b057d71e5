#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <mutex>

// The waveform text file: lines are appended as records arrive (an existing file is extended,
// never truncated). Opened and closed by the user's actions, written by the receive path:
// guarded by one std::mutex. A failed write closes the file with one log line instead of
// repeating the failure for every record.
class ScopeWaveFile {
public:
    ~ScopeWaveFile();

    // Opens path for appending; false (with the reason in *error) when it cannot.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return m_open.load(); }
    QString path() const;
    void write(const QByteArray& line);
    // Lines written since the file was opened.
    quint64 lines() const { return m_lines.load(); }

private:
    mutable std::mutex m_mutex;
    QFile m_file;  // guarded by m_mutex
    std::atomic<bool> m_open{false};
    std::atomic<quint64> m_lines{0};
};
