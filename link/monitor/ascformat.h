#pragma once

#include <QByteArray>

#include "link/monitor/tracefileformat.h"
#include "link/monitor/tracerecord.h"

// The text log of the bus analysers engineers use on their desks: a "date" line, "base hex
// timestamps absolute", a trigger block, and one line per frame: seconds since the date,
// channel 1, the identifier with an "x" for extended, Rx or Tx, "d", the length and the bytes.
namespace AscFormat {

// The header for a measurement that starts at startUs (wall time), through "Start of
// measurement"; the footer that ends the trigger block.
QByteArray header(qint64 startUs);
QByteArray footer();
void appendLine(QByteArray* out, const TraceRecord& record, qint64 startUs);

// Reads a file line by line: the header lines set the number base, the time mode and the date
// the frame times count from.
class Parser {
public:
    TraceLine parseLine(const char* line, int size, TraceRecord* record, const char** reason);
    // False while no date line was read (frame times are then seconds since 1970).
    bool hasDate() const { return m_hasDate; }

private:
    bool m_hex = true;
    bool m_relative = false;
    bool m_hasDate = false;
    qint64 m_startUs = 0;
    qint64 m_lastUs = 0;  // relative time stamps count from the previous event
};

}  // namespace AscFormat
