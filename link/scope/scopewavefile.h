#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

// The waveform text file, written line by line as records arrive. Append extends an existing
// file and never truncates it (the workbench's "Save waveform"); Replace writes a new file
// that takes the path's place only when it is closed complete (a recording to a named file),
// so an interrupted recording never destroys what was there.
//
// Opened and closed by the user's actions, written by the receive path: guarded by one
// std::mutex. A failed write closes the file with one log line instead of failing again for
// every record.
class ScopeWaveFile {
public:
    enum class Mode { Append, Replace };
    enum class Format { Wave, Csv };

    ~ScopeWaveFile();

    // Opens path; false (with the reason in *error) when it cannot.
    bool open(const QString& path, QString* error = nullptr, Mode mode = Mode::Append,
              Format format = Format::Wave);
    // Closes the file (Replace: puts it in place); false when it could not be written whole.
    bool close();
    // Replace: drops the new file and leaves the path as it was.
    void discard();
    bool isOpen() const { return m_open.load(); }
    Format format() const { return m_format.load(); }
    QString path() const;
    void write(const QByteArray& line);
    // Lines written since the file was opened.
    quint64 lines() const { return m_lines.load(); }

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<QFileDevice> m_file;  // guarded by m_mutex
    QString m_path;                       // guarded by m_mutex
    bool m_failed = false;                // guarded by m_mutex
    std::atomic<bool> m_open{false};
    std::atomic<Format> m_format{Format::Wave};
    std::atomic<quint64> m_lines{0};
};
