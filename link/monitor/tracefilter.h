#pragma once

#include <QSet>
#include <QString>

#include "link/monitor/framedecoder.h"
#include "link/monitor/tracerecord.h"

// Which records a view shows: by direction, communication type, motor CAN ID and free text
// (searched, ignoring case, in the type name, the decoded fields and the data bytes).
class TraceFilter {
public:
    enum class Directions { Both, Rx, Tx };
    // Type values besides the communication types 0..31.
    static constexpr int kTextType = -1;     // AT lines
    static constexpr int kSkippedType = -2;  // bytes that were not a record

    Directions directions = Directions::Both;
    QSet<int> types;   // empty: every type
    QSet<int> canIds;  // empty: every motor
    QString text;      // empty: no text search

    bool isEmpty() const {
        return directions == Directions::Both && types.isEmpty() && canIds.isEmpty() && text.isEmpty();
    }
    bool needsDecoding() const { return !text.isEmpty(); }

    // Direction, type and CAN ID; cheap.
    bool acceptsRecord(const TraceRecord& record) const;
    // Everything; decoded is the record's decoding (needed only when needsDecoding()).
    bool accepts(const TraceRecord& record, const DecodedRecord& decoded) const;

    static int typeOf(const TraceRecord& record);

    // "dir=rx type=MOTOR_FEEDBACK,21 id=1,2 text=0x2008" (terms separated by blanks; a word
    // without "=" is searched as text). False with *error on a term it does not understand.
    static bool parse(const QString& expression, TraceFilter* filter, QString* error);
};
