#pragma once

#include <QString>

// The trace files engineers exchange with other CAN tools.
enum class TraceFileFormat {
    Candump,  // "(seconds.micros) can0 IIIIIIII#DDDD... R|T", one frame a line
    Asc,      // the text log with a date header and a trigger block
};

// How a line of a trace file was taken.
enum class TraceLine {
    Frame,     // an extended data frame: filled in
    Skip,      // blank, header or comment: nothing to take, nothing wrong
    Standard,  // a frame with an 11-bit identifier: not one of the motors'
    Error,     // an error frame
    Other,     // a remote or FD frame, or another event the file may hold
    Corrupt,   // not a line of the format
};

// Asc for a name ending in .asc (any case), Candump otherwise.
inline TraceFileFormat traceFileFormatFor(const QString& path) {
    return path.endsWith(QLatin1String(".asc"), Qt::CaseInsensitive) ? TraceFileFormat::Asc
                                                                     : TraceFileFormat::Candump;
}
