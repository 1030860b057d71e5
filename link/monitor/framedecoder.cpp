#include "link/monitor/framedecoder.h"

#include "link/frames/firmwareframes.h"
#include "link/frames/paramframes.h"
#include "link/frames/scopeframes.h"
#include "link/monitor/fieldtext.h"
#include "link/monitor/framefields.h"
#include "link/motorreplies.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "link/param/paramstore.h"

#include <QPointer>
#include <QtEndian>

namespace {

using Dir = TraceRecord::Direction;
constexpr quint8 kHost = CanProtocol::kHostId;

const char* const kTypeNames[] = {
    "ANNOUNCE_DEVID", "MOTOR_CTRL",    "MOTOR_FEEDBACK", "MOTOR_IN",   "MOTOR_RESET", "MOTOR_CALI",
    "MOTOR_ZERO",     "MOTOR_ID",      "PARA_WRITE",     "PARA_READ",  "PARA_UPDATE", "OTA_START",
    "OTA_INFO",       "OTA_ING",       "OTA_END",        "CALI_ING",   "CALI_RST",    "SDO_READ",
    "SDO_WRITE",      "PARA_STR_INFO", "MOTOR_BRAKE",    "FAULT_WARN",
};

quint16 le16(const CanFrame& f, int at) {
    return qFromLittleEndian<quint16>(&f.data[size_t(at)]);
}

// Bytes a frame needs for the layout its type and direction give it.
int minimumLength(const CanFrame& f, Dir dir) {
    const int sub = (f.dataField() >> 8) & 3;  // scope sub-command; write sub-command
    if (dir == Dir::Tx) {
        switch (f.type()) {
            case 1:
            case 7:
            case 11:
            case 12:
            case 13:
            case 19:
                return 8;
            case 4:
            case 6:
                return 1;
            case 8:
                return sub == ParamFrames::kWrite ? 4 : 0;
            case 9:
                return 2;
            case 10:
                return sub == ScopeFrames::Rate ? 8 : sub == ScopeFrames::Channels ? 2 : 0;
            case 14:
                return 4;
            case 18:
                return 5;
            default:
                return 0;
        }
    }
    switch (f.type()) {
        case 0:
        case 15:
        case 16:
        case 19:
        case 21:
            return 8;
        case 2:
            return 6;
        case 5:
            return f.dataField() >> 8 == 1 ? 8 : f.dataField() >> 8 == 0 ? 4 : 0;
        case 8:
            return 4;
        case 9:
            return (f.dataField() >> 8) == 1 ? 2 : 8;
        case 10:
            return sub == ScopeFrames::Rate || sub == ScopeFrames::Sample ? 8
                   : sub == ScopeFrames::Channels                         ? 1
                                                                          : 0;
        case 11:
        case 12:
        case 13:
        case 14:
            return (f.dataField() >> 8) == (FirmwareFrames::kRetryOffset >> 8) ? 2 : 0;
        case 18:
            return 5;
        default:
            return 0;
    }
}

bool sentByHost(int type) {
    return type != 2 && type != 15 && type != 16 && type != 21;
}
bool sentByMotor(int type) {
    return type == 0 || type == 2 || type == 5 || (type >= 8 && type <= 16) || type == 18 || type == 19 ||
           type == 21;
}

}  // namespace

QString FrameDecoder::typeName(int type) {
    if (type >= 0 && type < int(sizeof kTypeNames / sizeof *kTypeNames))
        return QString::fromLatin1(kTypeNames[type]);
    return QStringLiteral("TYPE_%1").arg(type);
}

void FrameDecoder::useLink(otaThread* link) {
    m_ranges = [](quint8 canId) -> std::optional<CanProtocol::ModelRanges> {
        const MotorState state = MotorStates::get(canId);
        if (!state.modelKnown)
            return std::nullopt;
        return state.ranges;
    };
    QPointer<otaThread> guarded(link);
    m_names = [guarded](quint8 canId, quint16 code) {
        const ParamStore* store = guarded ? ParamStore::forLink(guarded) : nullptr;
        ParamEntry entry;
        if (store && store->entry(canId, code, &entry))
            return entry.name;
        return QString();
    };
}

void FrameDecoder::learn(const TraceRecord& r) {
    if (!r.isFrame() || r.isTx() || r.frame.type() != CANCOM_MOTOR_FEEDBACK || r.frame.length < 6)
        return;
    const MotorReplies::Feedback fb = MotorReplies::feedback(r.frame);
    if (!fb.modelReply)
        return;
    if (const auto ranges = CanProtocol::rangesForModel(fb.modelA, fb.modelB))
        m_learnt.insert(fb.canId, *ranges);
}

std::optional<CanProtocol::ModelRanges> FrameDecoder::rangesOf(quint8 canId) const {
    const auto it = m_learnt.constFind(canId);
    if (it != m_learnt.constEnd())
        return *it;
    return m_ranges ? m_ranges(canId) : std::nullopt;
}

QString FrameDecoder::nameOf(quint8 canId, quint16 code) const {
    return m_names ? m_names(canId, code) : QString();
}

int FrameDecoder::motorOf(const TraceRecord& r) {
    if (!r.isFrame())
        return -1;
    if (r.isTx())
        return r.frame.destination();
    const int source = (r.frame.id >> 8) & 0xFF;
    return r.frame.type() == CANCOM_ANNOUNCE_DEVID ? (source & 0x7F) : source;
}

const char* FrameDecoder::problemOf(const TraceRecord& r) {
    if (r.kind == TraceRecord::Kind::Garbage)
        return "bytes that are not a record";
    if (!r.isFrame())
        return nullptr;
    const CanFrame& f = r.frame;
    const int type = f.type();
    if (type >= CANCOM_MODE_TOTAL)
        return "unknown communication type";
    if (r.isTx() && !sentByHost(type))
        return "a motor's frame type sent by the host";
    if (!r.isTx() && !sentByMotor(type))
        return "a host request type sent by a motor";
    if (type == CANCOM_FAULT_WARN && f.length != 8)
        return "fault/warning frame without 8 bytes";
    if (type == CANCOM_ANNOUNCE_DEVID && !r.isTx() && f.destination() != CanProtocol::kAnnounceId)
        return "announcement not sent to 0xFE";
    if (f.length < minimumLength(f, r.direction))
        return "frame too short for its type";
    return nullptr;
}

namespace {

int paramCodeOf(const CanFrame& f, bool tx) {
    switch (f.type()) {
        case CANCOM_PARA_WRITE:
            return ((f.dataField() >> 8) & 3) == ParamFrames::kWrite ? le16(f, 0) : -1;
        case CANCOM_PARA_READ:
            return le16(f, 0);
        case CANCOM_PARA_STR_INFO:
            return tx ? -1 : le16(f, 0);
        default:
            return -1;
    }
}

}  // namespace

DecodedRecord FrameDecoder::decode(const TraceRecord& r) const {
    DecodedRecord d;
    FieldText t;
    if (r.kind == TraceRecord::Kind::Text) {
        d.type = QStringLiteral("AT");
        for (char c : r.bytes) {
            if (c == '\r' || c == '\n')
                continue;
            if (c >= 0x20 && c < 0x7F) {
                t.put(c);
            } else {
                t.str("\\x");
                const quint8 b = quint8(c);
                t.put("0123456789ABCDEF"[b >> 4]).put("0123456789ABCDEF"[b & 0xF]);
            }
        }
        d.fields = t.result();
        return d;
    }
    if (r.kind == TraceRecord::Kind::Garbage) {
        d.type = QStringLiteral("SKIPPED");
        d.failed = true;
        t.key("bytes").dec(r.bytes.size()).key("reason").str(problemOf(r));
        d.fields = t.result();
        return d;
    }
    const CanFrame& f = r.frame;
    d.typeCode = f.type();
    d.type = typeName(d.typeCode);
    d.destination = f.destination();
    d.source = r.isTx() ? kHost
                        : (d.typeCode == CANCOM_ANNOUNCE_DEVID ? ((f.id >> 8) & 0x7F) : ((f.id >> 8) & 0xFF));
    if (const char* problem = problemOf(r)) {
        d.failed = true;
        t.key("error").str(problem).key("data").bytes(f.data.data(), qMin<int>(f.length, 8));
        d.fields = t.result();
        return d;
    }
    const quint8 motor = quint8(motorOf(r));
    const bool scaled = d.typeCode == CANCOM_MOTOR_CTRL || d.typeCode == CANCOM_MOTOR_FEEDBACK ||
                        d.typeCode == CANCOM_SDO_WRITE;
    const std::optional<CanProtocol::ModelRanges> ranges = scaled ? rangesOf(motor) : std::nullopt;
    const int code = paramCodeOf(f, r.isTx());
    const QString name = code >= 0 ? nameOf(motor, quint16(code)) : QString();
    if (r.isTx())
        FrameFields::request(f, t, ranges, name);
    else
        FrameFields::reply(f, t, ranges, name);
    d.fields = t.result();
    return d;
}
