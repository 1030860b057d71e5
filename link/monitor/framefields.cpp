#include "link/monitor/framefields.h"

#include "link/frames/firmwareframes.h"
#include "link/frames/paramframes.h"
#include "link/frames/paramvalue.h"
#include "link/frames/scopeframes.h"
#include "link/motorreplies.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace FrameFields {

namespace {

const char* const kModes[] = {"reset", "calibration", "run", "brake"};

quint32 le32(const CanFrame& f, int at) {
    return qFromLittleEndian<quint32>(&f.data[size_t(at)]);
}
quint16 le16(const CanFrame& f, int at) {
    return qFromLittleEndian<quint16>(&f.data[size_t(at)]);
}
quint16 be16(const CanFrame& f, int at) {
    return quint16(f.data[size_t(at)] << 8 | f.data[size_t(at) + 1]);
}
float leFloat(const CanFrame& f, int at) {
    const quint32 bits = le32(f, at);
    float v = 0;
    memcpy(&v, &bits, sizeof v);
    return v;
}
quint64 le64(const CanFrame& f) {
    return qFromLittleEndian<quint64>(&f.data[0]);
}

}  // namespace

// Host requests.
void request(const CanFrame& f, FieldText& t, const std::optional<CanProtocol::ModelRanges>& ranges,
             const QString& name) {
    using namespace CanProtocol;
    const quint8 to = f.destination();
    switch (f.type()) {
        case CANCOM_ANNOUNCE_DEVID:
            t.word("identity-request");
            break;
        case CANCOM_MOTOR_CTRL: {
            const int torque = f.dataField();
            t.key("pos").fixed(decodeRange(be16(f, 0), kPosMin, kPosMax), 3);
            if (ranges) {
                t.key("vel").fixed(decodeRange(be16(f, 2), -ranges->velMax, ranges->velMax), 2);
                t.key("kp").fixed(decodeRange(be16(f, 4), 0, ranges->kpMax), 2);
                t.key("kd").fixed(decodeRange(be16(f, 6), 0, ranges->kdMax), 3);
                t.key("torque").fixed(decodeRange(torque, -ranges->torqueMax, ranges->torqueMax), 2);
            } else {
                t.key("vel_raw").dec(be16(f, 2)).key("kp_raw").dec(be16(f, 4));
                t.key("kd_raw").dec(be16(f, 6)).key("torque_raw").dec(torque);
            }
            break;
        }
        case CANCOM_MOTOR_IN:
            t.word("enter-run-mode");
            break;
        case CANCOM_MOTOR_RESET:
            if (f.data[0] == 0x00 && f.data[1] == 0xC4)
                t.word("model-query");
            else if (f.data[0] == 1 &&
                     std::all_of(f.data.begin() + 1, f.data.end(), [](quint8 b) { return b == 0; }))
                t.word("clear-alarm");
            else
                t.word("enter-reset-mode").key("mcu").hex(le64(f), 16);
            break;
        case CANCOM_MOTOR_CALI:
            t.word("start-calibration");
            break;
        case CANCOM_MOTOR_ZERO:
            t.word("set-zero").key("flag").dec(f.data[0]);
            break;
        case CANCOM_MOTOR_ID:
            t.word("set-can-id")
                .key("from")
                .dec(to)
                .key("to")
                .dec(f.dataField() >> 8)
                .key("mcu")
                .hex(le64(f), 16);
            break;
        case CANCOM_PARA_WRITE: {
            const ParamFrames::WriteChunk w = ParamFrames::writeRequestOf(f);
            if (w.sub == ParamFrames::kSave) {
                t.word("save");
                break;
            }
            if (w.sub == ParamFrames::kFactoryReset) {
                t.word("factory-reset");
                break;
            }
            t.word("write").key("code").hex(w.code, 4);
            if (!name.isEmpty())
                t.key("name").text(name);
            t.key("type").text(valueTypeName(w.type)).key("chunk").dec(w.chunk);
            if (w.chunk == 0 && w.type >= 0 && w.type <= 9 && valueTypeSize(w.type) <= 4)
                t.key("value").text(ParamValue::formatRaw(
                    w.type, QByteArray(reinterpret_cast<const char*>(w.bytes.data()), 4) + QByteArray(4, 0)));
            else
                t.key("bytes").bytes(w.bytes.data(), 4);
            break;
        }
        case CANCOM_PARA_READ:
            t.word("read").key("code").hex(le16(f, 0), 4);
            if (!name.isEmpty())
                t.key("name").text(name);
            break;
        case CANCOM_PARA_UPDATE: {
            const ScopeFrames::Header h = ScopeFrames::header(f);
            switch (h.sub) {
                case ScopeFrames::Rate:
                    t.word("scope-rate").key("hz").dec(le16(f, 0)).key("baud").dec(le32(f, 4));
                    break;
                case ScopeFrames::Channels:
                    t.word("scope-channels")
                        .key("frame")
                        .dec(h.code)
                        .key("count")
                        .dec(h.index + 1)
                        .key("codes");
                    for (int i = 0; i < 4; ++i) {
                        if (i)
                            t.put(',');
                        t.hex(le16(f, 2 * i), 4);
                    }
                    break;
                case ScopeFrames::Sample:
                    t.word("scope-start");
                    break;
                default:
                    t.word("scope-stop");
                    break;
            }
            break;
        }
        case CANCOM_OTA_START:
            t.word("enter-update").key("mcu").hex(le64(f), 16);
            break;
        case CANCOM_OTA_INFO:
            t.key("size").dec(le32(f, 0)).key("packets").dec(le32(f, 4));
            break;
        case CANCOM_OTA_ING:
            t.key("packet").dec(f.dataField()).key("bytes").bytes(f.data.data(), 8);
            break;
        case CANCOM_OTA_END:
            t.word("end").key("packets").dec(le32(f, 0));
            break;
        case CANCOM_SDO_WRITE: {
            const quint16 index = le16(f, 0);
            if (index == 0x7005 && f.data[4] == 7) {
                t.word("jog").key("on").dec(f.data[5]);
                if (ranges)
                    t.key("speed").fixed(decodeRange(be16(f, 6), -ranges->velMax, ranges->velMax), 2);
                else
                    t.key("speed_raw").dec(be16(f, 6));
            } else if (index == 0x7005) {
                t.word("run-mode").key("mode").dec(f.data[4]);
            } else {
                t.key("index").hex(index, 4).key("u32").udec(le32(f, 4)).key("float").fixed(leFloat(f, 4), 4);
            }
            break;
        }
        case CANCOM_PARA_STR_INFO:
            t.word("describe").key("mcu").hex(le64(f), 16);
            break;
        case CANCOM_MOTOR_BRAKE:
            t.word("enter-brake-mode");
            break;
        default:
            t.key("data").bytes(f.data.data(), f.length);
            break;
    }
}

void flagList(FieldText& t, quint32 word, int bits) {
    bool any = false;
    for (int i = 0; i < bits; ++i) {
        if (word & (quint32(1) << i)) {
            if (any)
                t.put(',');
            t.dec(i);
            any = true;
        }
    }
    if (!any)
        t.put('-');
}

void describeText(FieldText& t, const std::array<quint8, 6>& content, int count) {
    t.put('"');
    for (int i = 0; i < count; ++i) {
        const quint8 c = content[size_t(i)];
        if (c == 0)
            break;
        t.put(c >= 0x20 && c < 0x7F && c != '"' ? char(c) : '?');
    }
    t.put('"');
}

// Motor replies.
void reply(const CanFrame& f, FieldText& t, const std::optional<CanProtocol::ModelRanges>& ranges,
           const QString& name) {
    using namespace CanProtocol;
    switch (f.type()) {
        case CANCOM_ANNOUNCE_DEVID: {
            const MotorReplies::Announcement a = MotorReplies::announcement(f);
            t.word("announce").key("mcu").hex(a.mcuId, 16).key("can_id").dec(a.canId);
            break;
        }
        case CANCOM_MOTOR_FEEDBACK: {
            const MotorReplies::Feedback fb = MotorReplies::feedback(f);
            if (fb.modelReply) {
                t.word("model-reply").key("a").dec(fb.modelA).key("b").dec(fb.modelB);
                if (const auto model = rangesForModel(fb.modelA, fb.modelB))
                    t.key("model").dec(model->modelCode);
                else
                    t.key("model").put('-');
            } else {
                t.key("pos").fixed(decodeRange(fb.positionRaw, kPosMin, kPosMax), 3);
                if (ranges) {
                    t.key("vel").fixed(decodeRange(fb.velocityRaw, -ranges->velMax, ranges->velMax), 2);
                    t.key("torque").fixed(decodeRange(fb.torqueRaw, -ranges->torqueMax, ranges->torqueMax),
                                          2);
                } else {
                    t.key("vel_raw").dec(fb.velocityRaw).key("torque_raw").dec(fb.torqueRaw);
                }
            }
            t.key("mode").str(kModes[fb.modeState & 3]).key("faults");
            flagList(t, (f.id >> 16) & 0x3F, 6);
            break;
        }
        case CANCOM_MOTOR_CALI: {
            const MotorReplies::CalibrationDone done = MotorReplies::calibrationDone(f);
            if (done.subCode == 0)
                t.word("calibrated").key("offset").fixed(done.offset, 4);
            else if (done.subCode == 1)
                t.word("hall-calibrated").key("table").bytes(done.hall.data(), 8);
            else
                t.word("calibrated").key("sub").dec(done.subCode);
            break;
        }
        case CANCOM_PARA_WRITE: {
            const ParamFrames::WriteChunk w = ParamFrames::writeReplyOf(f);
            t.word(w.sub == ParamFrames::kSave           ? "save-reply"
                   : w.sub == ParamFrames::kFactoryReset ? "reset-reply"
                                                         : "write-reply");
            if (w.sub == ParamFrames::kWrite) {
                t.key("code").hex(w.code, 4);
                if (!name.isEmpty())
                    t.key("name").text(name);
                t.key("chunk").dec(w.chunk);
            }
            t.key("error").dec(w.error);
            break;
        }
        case CANCOM_PARA_READ: {
            const ParamFrames::ReadChunk r = ParamFrames::readChunk(f);
            t.word(r.missing ? "no-such-code" : "value").key("code").hex(r.code, 4);
            if (!name.isEmpty())
                t.key("name").text(name);
            if (r.missing)
                break;
            t.key("type").text(r.type == ParamValue::kTextType ? QStringLiteral("text")
                                                               : valueTypeName(r.type));
            t.key("chunk").dec(r.chunk);
            if (r.chunk == 0 && r.type >= 0 && r.type <= 9 && valueTypeSize(r.type) <= 4)
                t.key("value").text(ParamValue::formatRaw(
                    r.type, QByteArray(reinterpret_cast<const char*>(r.bytes.data()), 4) + QByteArray(4, 0)));
            else
                t.key("bytes").bytes(r.bytes.data(), 4);
            break;
        }
        case CANCOM_PARA_UPDATE: {
            const ScopeFrames::Header h = ScopeFrames::header(f);
            switch (h.sub) {
                case ScopeFrames::Rate: {
                    const ScopeFrames::RateReply r = ScopeFrames::rateReply(f);
                    t.word("scope-rate-reply").key("code").dec(h.code).key("period_us").udec(r.periodUs);
                    break;
                }
                case ScopeFrames::Channels:
                    t.word("scope-channels-reply")
                        .key("code")
                        .dec(h.code)
                        .key("types")
                        .bytes(f.data.data(), f.length);
                    break;
                case ScopeFrames::Sample:
                    t.word("scope-sample").key("part").dec(h.index).key("code").dec(h.code);
                    break;
                default:
                    t.word("scope-stopped");
                    break;
            }
            break;
        }
        case CANCOM_OTA_START:
        case CANCOM_OTA_INFO:
        case CANCOM_OTA_ING:
        case CANCOM_OTA_END: {
            const FirmwareFrames::Answer a = FirmwareFrames::answer(f, quint8(f.dataField() & 0xFF));
            if (a.kind == FirmwareFrames::Answer::Accepted)
                t.word("accepted");
            else if (a.kind == FirmwareFrames::Answer::Retry)
                t.word("resend").key("packet").dec(a.packet);
            else
                t.word("answer").key("field").hex(f.dataField(), 4);
            break;
        }
        case CANCOM_CALI_ING: {
            const MotorReplies::CalibrationProgress p = MotorReplies::calibrationProgress(f);
            t.word("calibrating").key("rotor").fixed(p.rotorAngle, 4).key("flux").fixed(p.statorFluxAngle, 4);
            t.key("sensor").dec(p.sensorValue);
            break;
        }
        case CANCOM_CALI_RST: {
            const MotorReplies::CalibrationRow row = MotorReplies::calibrationRow(f);
            t.word("calibration-row").key("number").dec(row.number).key("index").dec(row.index);
            t.key("correction").dec(row.correction);
            break;
        }
        case CANCOM_SDO_WRITE:
            t.word("ack").key("index").hex(le16(f, 0), 4).key("value").dec(f.data[4]);
            break;
        case CANCOM_PARA_STR_INFO: {
            const ParamFrames::Description d = ParamFrames::description(f);
            t.key("phase").dec(d.phase);
            if (d.phase != ParamFrames::kPhaseSummary) {
                t.key("code").hex(d.code, 4);
                if (!name.isEmpty())
                    t.key("name").text(name);
            }
            switch (d.phase) {
                case 0:
                case 1:
                case 6:
                case 7:
                    t.key("text");
                    describeText(t, d.content, 6);
                    break;
                case 2:
                case 8:
                    t.key("text");
                    describeText(t, d.content, 4);
                    break;
                case 3: {
                    const int exponent = qint8(f.data[6]);
                    t.key("min").dec(qint16(le16(f, 2))).key("max").dec(qint16(le16(f, 4)));
                    t.key("exp").dec(exponent).key("type").text(valueTypeName(f.data[7] & 0x1F));
                    t.key("property").dec(f.data[7] >> 5);
                    break;
                }
                case 4:
                case 5:
                    t.key("type").text(valueTypeName(f.data[3])).key("bytes").bytes(&f.data[4], 4);
                    break;
                case ParamFrames::kPhaseSummary: {
                    const ParamFrames::Summary s = ParamFrames::summary(f);
                    t.word("summary").key("config").dec(s.configCount).key("counts");
                    for (int i = 0; i < 4; ++i) {
                        if (i)
                            t.put(',');
                        t.dec(s.counts[size_t(i)]);
                    }
                    break;
                }
                default:
                    t.key("content").bytes(d.content.data(), 6);
                    break;
            }
            break;
        }
        case CANCOM_FAULT_WARN: {
            const MotorReplies::FaultWarning w = MotorReplies::faultWarning(f);
            t.key("fault").hex(w.fault, 8).key("bits");
            flagList(t, w.fault, 32);
            t.key("warning").hex(w.warning, 8).key("bits");
            flagList(t, w.warning, 32);
            break;
        }
        default:
            t.key("data").bytes(f.data.data(), f.length);
            break;
    }
}

}  // namespace FrameFields
