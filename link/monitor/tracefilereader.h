#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

#include "link/monitor/tracefileformat.h"
#include "link/monitor/tracerecord.h"

// Reads candump logs and ASC files (the format is told by the first line that says it, else by
// the name). A line that is not of the format is reported with its number and skipped; frames
// the motors never send (11-bit identifiers, error frames, remote and FD frames) are counted
// and ignored. Memory stays bounded whatever the file holds.
class TraceFileReader {
public:
    // Lines longer than this are not records of either format.
    static constexpr int kMaxLine = 4096;
    // Problems named one by one; beyond that they are only counted.
    static constexpr int kMaxProblems = 20;

    struct Report {
        TraceFileFormat format = TraceFileFormat::Candump;
        quint64 lines = 0;
        quint64 frames = 0;       // extended data frames read
        quint64 standard = 0;     // ignored: 11-bit identifiers
        quint64 errorFrames = 0;  // ignored: error frames
        quint64 other = 0;        // ignored: remote, FD and other events
        quint64 corrupt = 0;      // lines skipped as not of the format
        quint64 leftOut = 0;      // load(): frames before the last `limit`
        QStringList problems;     // "line 12: bad data bytes", at most kMaxProblems

        quint64 ignored() const { return standard + errorFrames + other; }
        // What an engineer should know about the file, one sentence a line; empty when
        // everything was read.
        QStringList notes() const;
    };

    // Hands every frame to sink in file order. False (with *error) only when the file cannot
    // be opened or read; a file with bad lines still counts as read.
    static bool read(const QString& path, const std::function<void(TraceRecord&&)>& sink, Report* report,
                     QString* error);
    // Keeps the last `limit` frames (a file larger than the trace loads its last part).
    static bool load(const QString& path, int limit, QVector<TraceRecord>* records, Report* report,
                     QString* error);
};
