#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

#include "link/canprotocol.h"
#include "link/monitor/tracerecord.h"

class otaThread;

// A record of the trace as an engineer reads it: the communication type by name, who sent it
// to whom, and its fields in "key=value" notation (the same in every language, so a saved or
// printed trace reads the same everywhere).
struct DecodedRecord {
    QString type;          // "MOTOR_FEEDBACK", "AT" for adapter lines, "SKIPPED" for garbage
    int typeCode = -1;     // communication type of a frame; -1 for text and skipped bytes
    int source = -1;       // the sender's CAN ID (0xFD the host); -1 when the record has none
    int destination = -1;  // the addressee (0xFE: announcements); -1 when none
    QString fields;
    bool failed = false;  // skipped bytes, an unknown type or a frame too short for its layout
};

// Decodes every record the link writes or receives. Feedback and set-points are scaled with the
// ranges of the motor they concern (learnt from model replies in the trace, else asked of the
// lookup); parameter codes get the entry names the lookup knows. One decoder serves one
// thread.
class FrameDecoder {
public:
    using RangesLookup = std::function<std::optional<CanProtocol::ModelRanges>(quint8 canId)>;
    using NameLookup = std::function<QString(quint8 canId, quint16 code)>;

    void setRangesLookup(RangesLookup lookup) { m_ranges = std::move(lookup); }
    void setNameLookup(NameLookup lookup) { m_names = std::move(lookup); }
    // Looks ranges up in MotorStates and entry names in the link's parameter store.
    void useLink(otaThread* link);

    // Takes the model of a motor from its model reply; call in trace order.
    void learn(const TraceRecord& record);
    // Forgets the models learnt (a new trace begins); the lookups stay.
    void forgetLearnt() { m_learnt.clear(); }
    DecodedRecord decode(const TraceRecord& record) const;

    // The cheap parts, for counting and filtering without building text.
    // The motor a record concerns: the addressee of a request, the sender of a reply; -1 none.
    static int motorOf(const TraceRecord& record);
    // Why the record cannot be decoded; null when it can.
    static const char* problemOf(const TraceRecord& record);
    // "MOTOR_FEEDBACK" for 2; "TYPE_23" for a type the protocol does not have.
    static QString typeName(int type);

private:
    std::optional<CanProtocol::ModelRanges> rangesOf(quint8 canId) const;
    QString nameOf(quint8 canId, quint16 code) const;

    RangesLookup m_ranges;
    NameLookup m_names;
    QHash<quint8, CanProtocol::ModelRanges> m_learnt;
};
