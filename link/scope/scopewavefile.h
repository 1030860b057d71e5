#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

#include "framework/data/atomicfile.h"

// The waveform text file, written line by line as records arrive. Append extends an existing
// file and never truncates it (the workbench's "Save waveform"); Replace writes a new file
// that takes the path's place only when the recording closes it complete, so an interrupted
// recording never destroys what was there: it is kept beside it instead (closePartial).
//
// Opened and closed by the user's actions, written by the receive path: guarded by one
// std::mutex. A failed write closes the file with one log line instead of failing again for
// every record; the system's reason stays in errorString().
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
    // Replace: the recording broke off. What was recorded goes beside the path as
    // "<name>.partial.<suffix>" (its name in *keptAs), and the path stays as it was. On a
    // file closed already, the outcome of that close.
    bool closePartial(QString* keptAs);
    // Replace: drops the new file and leaves the path as it was.
    void discard();
    bool isOpen() const { return m_open.load(); }
    Format format() const { return m_format.load(); }
    QString path() const;
    // The system's reason for the last failure ("No space left on device").
    QString errorString() const;
    void write(const QByteArray& line);
    // Lines written since the file was opened.
    quint64 lines() const { return m_lines.load(); }

    // "w.csv" -> "w.partial.csv".
    static QString partialPath(const QString& path);

private:
    bool closeLocked(const QString& target, QString* keptAs);  // m_mutex held

    mutable std::mutex m_mutex;
    std::unique_ptr<QFile> m_append;            // Append; guarded by m_mutex
    std::unique_ptr<kx::AtomicFile> m_replace;  // Replace; guarded by m_mutex
    QString m_path;                             // guarded by m_mutex
    QString m_error;                            // guarded by m_mutex
    bool m_failed = false;                      // guarded by m_mutex
    bool m_closedOk = true;                     // guarded: the outcome of the last close
    QString m_keptAs;                           // guarded: where that close put a broken recording
    std::atomic<bool> m_open{false};
    std::atomic<Format> m_format{Format::Wave};
    std::atomic<quint64> m_lines{0};
};
