#pragma once

#include <QByteArray>

#include "link/monitor/tracefileformat.h"
#include "link/monitor/tracerecord.h"

// The log format of the Linux CAN tools: "(1733740000.123456) can0 0300FD01#0011223344556677 T".
// Extended identifiers are written as 8 hex digits (3 digits mean an 11-bit identifier); the
// trailing R or T tells whether the interface received or sent the frame.
namespace CandumpFormat {

// Appends the line of one frame, newline included.
void appendLine(QByteArray* out, const TraceRecord& record, const char* interface = "can0");

// Reads one line (without its newline). A line without the R/T suffix gets the direction its
// destination suggests; *reason says what is wrong with a Corrupt line.
TraceLine parseLine(const char* line, int size, TraceRecord* record, const char** reason);

}  // namespace CandumpFormat
