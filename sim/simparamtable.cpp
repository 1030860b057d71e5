#include "sim/simparamtable.h"

#include "link/canprotocol.h"
#include "link/frames/paramframes.h"
#include "link/frames/paramvalue.h"

#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

QByteArray text16(const QString& s) {
    return ParamValue::textBytes(s.toLatin1());
}

}  // namespace

SimParamTable::SimParamTable(quint64 mcuId, const Limits& limits, LiveSource live)
    : m_live(std::move(live)), m_serial(mcuId) {
    auto str = [this](quint16 code, const char* name, bool writable, const QString& value) {
        Entry e;
        e.code = code;
        e.name = QString::fromLatin1(name);
        e.writable = writable;
        e.text = e.defaultText = text16(value);
        add(e);
    };
    auto num = [this](quint16 code, const char* name, int type, bool writable, int minRaw, int maxRaw,
                      int exp, double value, bool live = false) {
        Entry e;
        e.code = code;
        e.name = QString::fromLatin1(name);
        e.type = type;
        e.writable = writable;
        e.minRaw = qint16(minRaw);
        e.maxRaw = qint16(maxRaw);
        e.exponent = qint8(exp);
        e.value = e.defaultValue = value;
        e.live = live;
        add(e);
    };
    str(0x0000, "Name", true, QStringLiteral("joint"));
    str(0x0001, "BarCode", true, QStringLiteral("TRV%1").arg(mcuId & 0xFFFFFFFF, 8, 16, QLatin1Char('0')));
    str(0x0002, "Location", true, QStringLiteral("bench"));
    str(0x0003, "Note", true, QString());
    str(0x1000, "BootCodeVersion", false, QStringLiteral("1.2.0"));
    str(0x1001, "BootBuildDate", false, QStringLiteral("2026-03-02"));
    str(0x1002, "AppCodeVersion", false, QStringLiteral("0.9.4"));
    str(0x1003, "AppBuildDate", false, QStringLiteral("2026-11-30"));
    str(0x1004, "AppCodeName", false, QStringLiteral("trivane-joint"));

    const int torque10 = int(limits.torqueMax * 10);
    const int vel100 = int(limits.velMax * 100);
    // Configuration entries first (kConfigCount of them): they are not offered to the scope.
    num(0x2000, "CAN_ID", 0, false, 1, 127, 0, 1);
    num(0x2001, "CAN_MASTER", 0, true, 0, 255, 0, 0xFD);
    num(0x2002, "CAN_TIMEOUT", 4, true, 0, 30000, 0, 0);
    num(0x2003, "zero_sta", 0, true, 0, 1, 0, 0);
    num(0x2004, "direction", 1, true, -1, 1, 0, 1);
    num(0x2005, "over_temp_time", 2, true, 0, 20000, 0, 200);
    num(0x2006, "protect_temp", 3, true, -40, 145, 0, 100);
    num(0x2007, "encoder_res", 4, false, 0, 32767, 1, 16384);
    num(0x2008, "limit_torque", 6, true, 0, torque10, -1, limits.torqueMax);
    num(0x2009, "limit_spd", 6, true, 0, vel100, -2, 10);
    num(0x200A, "limit_cur", 6, true, 0, torque10, -1, limits.torqueMax);
    num(0x200B, "loc_kp", 6, true, 0, 2000, -1, 30);
    num(0x200C, "spd_kp", 6, true, 0, 2000, -2, 2);
    num(0x200D, "spd_ki", 6, true, 0, 1000, -3, 0.02);
    num(0x200E, "acc_rad", 6, true, 1, 1000, -1, 20);
    num(0x200F, "filter_gain", 9, true, 0, 10000, -4, 0.1);
    num(0x2010, "gear_ratio", 9, false, 10, 1000, -1, 10);
    num(kSerialCode, "mcu_serial", 7, false, 0, 0, 0, double(mcuId));
    num(0x2012, "zero_offset", 8, true, -32767, 32767, 0, 0);
    num(0x2013, "pole_pairs", 0, false, 1, 50, 0, 14);
    num(0x2014, "position_offset", 5, true, -10000, 10000, 0, 0);

    // Live measurements: their values come from the motor model when read.
    num(0x3000, "mechPos", 6, false, 0, 0, 0, 0, true);
    num(0x3001, "mechVel", 6, false, 0, 0, 0, 0, true);
    num(0x3002, "iqf", 6, false, 0, 0, 0, 0, true);
    num(0x3003, "torque", 6, false, 0, 0, 0, 0, true);
    num(0x3004, "VBUS", 6, false, 0, 0, 0, 0, true);
    num(0x3005, "temperature", 3, false, 0, 0, 0, 0, true);
    num(0x3006, "faultSta", 4, false, 0, 0, 0, 0, true);
    num(0x3007, "warnSta", 4, false, 0, 0, 0, 0, true);
    num(0x3008, "runMode", 0, false, 0, 0, 0, 0, true);
    num(0x3009, "modeSta", 1, false, 0, 0, 0, 0, true);
    num(0x300A, "timeStamp", 2, false, 0, 0, 0, 0, true);
    num(0x300B, "posCounts", 5, false, 0, 0, 0, 0, true);
    num(0x300C, "uptimeMs", 7, false, 0, 0, 0, 0, true);
    num(0x300D, "rotations", 8, false, 0, 0, 0, 0, true);
    num(0x300E, "energy", 9, false, 0, 0, 0, 0, true);
    num(0x300F, "elecAngle", 6, false, 0, 0, 0, 0, true);
}

void SimParamTable::add(Entry e) {
    m_index.insert(e.code, m_entries.size());
    m_entries << e;
}

SimParamTable::Entry* SimParamTable::find(quint16 code) {
    const auto it = m_index.constFind(code);
    return it == m_index.constEnd() ? nullptr : &m_entries[*it];
}

const SimParamTable::Entry* SimParamTable::entry(quint16 code) const {
    const auto it = m_index.constFind(code);
    return it == m_index.constEnd() ? nullptr : &m_entries[*it];
}

double SimParamTable::value(quint16 code) const {
    const Entry* e = entry(code);
    if (!e)
        return 0;
    return e->live && m_live ? m_live(code) : e->value;
}

QString SimParamTable::text(quint16 code) const {
    const Entry* e = entry(code);
    if (!e)
        return QString();
    const int end = e->text.indexOf('\0');
    return QString::fromLatin1(end < 0 ? e->text : e->text.left(end));
}

void SimParamTable::setValue(quint16 code, double v) {
    if (Entry* e = find(code))
        e->value = v;
}

void SimParamTable::setText(quint16 code, const QString& t) {
    if (Entry* e = find(code))
        e->text = text16(t);
}

int SimParamTable::count(int group) const {
    int n = 0;
    for (const Entry& e : m_entries)
        n += (e.code >> 12) == group;
    return n;
}

double SimParamTable::limitMin(const Entry& e) const {
    return e.minRaw * std::pow(10.0, e.exponent);
}
double SimParamTable::limitMax(const Entry& e) const {
    return e.maxRaw * std::pow(10.0, e.exponent);
}

QByteArray SimParamTable::rawOf(const Entry& e) const {
    if (e.type == 10)
        return e.text;
    if (e.code == kSerialCode) {  // 64-bit identity: a double would lose its low bits
        QByteArray raw(8, '\0');
        qToLittleEndian(m_serial, raw.data());
        return raw;
    }
    return ParamValue::toRaw(e.type, e.live && m_live ? m_live(e.code) : e.value);
}

QVector<CanFrame> SimParamTable::describe(quint8 canId) const {
    using namespace ParamFrames;
    QVector<CanFrame> out;
    for (const Entry& e : m_entries) {
        const QByteArray name = text16(e.name);
        out << describeFrame(canId, 0, e.code, name.mid(0, 6))
            << describeFrame(canId, 1, e.code, name.mid(6, 6))
            << describeFrame(canId, 2, e.code, name.mid(12, 4));
        const int group = groupOf(e.code);
        if (group <= 1) {
            out << describeFrame(canId, 6, e.code, e.text.mid(0, 6))
                << describeFrame(canId, 7, e.code, e.text.mid(6, 6))
                << describeFrame(canId, 8, e.code, e.text.mid(12, 4));
            continue;
        }
        // Group 3 names only its type in the limits phase.
        out << (group == 2 ? limitsFrame(canId, e.code, e.minRaw, e.maxRaw, e.exponent, e.type, e.writable)
                           : limitsFrame(canId, e.code, 0, 0, 0, e.type, 0));
        const QByteArray raw = rawOf(e);
        out << valueFrame(canId, 4, e.code, e.type, raw) << valueFrame(canId, 5, e.code, e.type, raw);
    }
    // The summary's first bytes are the configuration count, not an entry code.
    out << summaryFrame(canId, kConfigCount, {{count(0), count(1), count(2), count(3)}});
    return out;
}

QVector<CanFrame> SimParamTable::read(quint8 canId, quint16 code) const {
    const Entry* e = entry(code);
    if (!e)
        return {ParamFrames::readMissing(canId, code)};
    const QByteArray raw = rawOf(*e);
    QVector<CanFrame> out;
    for (int chunk = 0; chunk < ParamValue::chunks(e->type); ++chunk)
        out << ParamFrames::readReply(canId, code, e->type, chunk, raw.mid(chunk * 4, 4));
    return out;
}

CanFrame SimParamTable::write(quint8 canId, const CanFrame& req, const std::function<bool()>& saver,
                              quint16* changed) {
    const ParamFrames::WriteChunk w = ParamFrames::writeRequestOf(req);
    auto answer = [&](int error) { return ParamFrames::writeReply(canId, req, error); };
    if (w.sub == ParamFrames::kSave) {
        m_writeCode = -1;
        return answer(saver && saver() ? NoError : SaveFailed);
    }
    if (w.sub != ParamFrames::kWrite)
        return answer(NoSuchCommand);
    Entry* e = find(w.code);
    if (!e)
        return answer(NoSuchCode);
    if (!e->writable)
        return answer(Unwritable);
    if (w.type != e->type)
        return answer(TypeError);
    if (w.chunk == 0) {
        m_writeCode = w.code;
        m_nextChunk = 0;
        m_collect = QByteArray(16, '\0');
    }
    if (m_writeCode != w.code || w.chunk != m_nextChunk) {
        m_writeCode = -1;
        return answer(LossFrame);
    }
    std::memcpy(m_collect.data() + w.chunk * 4, w.bytes.data(), 4);
    ++m_nextChunk;
    if (m_nextChunk < ParamValue::chunks(w.type))
        return answer(NoError);
    m_writeCode = -1;
    if (w.type == ParamValue::kTextType) {
        e->text = m_collect;
    } else {
        const double v = ParamValue::toDouble(w.type, m_collect);
        if (!std::isfinite(v) || v < limitMin(*e) || v > limitMax(*e))
            return answer(OutOfRange);
        e->value = v;
    }
    if (changed)
        *changed = w.code;
    return answer(NoError);
}

QJsonObject SimParamTable::saveState() const {
    QJsonObject o;
    for (const Entry& e : m_entries) {
        const QString key = QStringLiteral("%1").arg(e.code, 4, 16, QLatin1Char('0'));
        if (e.type == 10 && (e.writable || e.code == 0x1002))
            o.insert(key, QString::fromLatin1(e.text.toHex()));
        else if (e.writable)
            o.insert(key, e.value);
    }
    return o;
}

void SimParamTable::loadState(const QJsonObject& state) {
    for (auto it = state.begin(); it != state.end(); ++it) {
        bool ok = false;
        const quint16 code = quint16(it.key().toUInt(&ok, 16));
        Entry* e = ok ? find(code) : nullptr;
        if (!e)
            continue;
        if (e->type == 10 && it.value().isString())
            e->text = text16(QString::fromLatin1(QByteArray::fromHex(it.value().toString().toLatin1())));
        else if (e->type != 10 && it.value().isDouble() && e->writable)
            e->value = it.value().toDouble();
    }
}

void SimParamTable::factoryReset() {
    for (Entry& e : m_entries) {
        if (!e.writable)
            continue;
        e.text = e.defaultText;
        e.value = e.defaultValue;
    }
}
