#include "sim/simparamtable.h"

#include "link/canprotocol.h"

#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

CanFrame reply(quint8 type, quint8 high, quint8 canId) {
    CanFrame f;
    f.id = CanFrame::makeId(type, quint16(high << 8 | canId), CanProtocol::kHostId);
    f.length = 8;
    return f;
}

void putCode(CanFrame& f, quint16 code) {
    f.data[0] = quint8(code);
    f.data[1] = quint8(code >> 8);
}

QByteArray text16(const QString& s) {
    QByteArray b = s.toLatin1().left(16);
    b.append(QByteArray(16 - b.size(), '\0'));
    return b;
}

template <typename T>
T narrow(double v) {
    // Truncate toward zero and wrap to the type's width, as a C cast of the integer would.
    if (!std::isfinite(v))
        return T(0);
    const long double t = std::trunc(static_cast<long double>(v));
    if (t >= static_cast<long double>(std::numeric_limits<qint64>::max()) ||
        t <= static_cast<long double>(std::numeric_limits<qint64>::min()))
        return T(0);
    return T(static_cast<qint64>(t));
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

QByteArray SimParamTable::toRaw(int type, double v) {
    QByteArray raw(8, '\0');
    uchar* p = reinterpret_cast<uchar*>(raw.data());
    switch (type) {
        case 0:
            p[0] = narrow<quint8>(v);
            break;
        case 1:
            p[0] = quint8(narrow<qint8>(v));
            break;
        case 2:
            qToLittleEndian(narrow<quint16>(v), p);
            break;
        case 3:
            qToLittleEndian(narrow<qint16>(v), p);
            break;
        case 4:
            qToLittleEndian(narrow<quint32>(v), p);
            break;
        case 5:
            qToLittleEndian(narrow<qint32>(v), p);
            break;
        case 6:
            qToLittleEndian(float(v), p);
            break;
        case 7:
            qToLittleEndian(v >= 1.8e19 || !(v >= 0) ? quint64(0) : quint64(v), p);
            break;
        case 8:
            qToLittleEndian(narrow<qint64>(v), p);
            break;
        case 9:
            qToLittleEndian(v, p);
            break;
        default:
            break;
    }
    return raw;
}

double SimParamTable::fromRaw(int type, const QByteArray& bytes) {
    QByteArray raw = bytes.left(8);
    raw.append(QByteArray(8 - raw.size(), '\0'));
    const uchar* p = reinterpret_cast<const uchar*>(raw.constData());
    switch (type) {
        case 0:
            return p[0];
        case 1:
            return qint8(p[0]);
        case 2:
            return qFromLittleEndian<quint16>(p);
        case 3:
            return qFromLittleEndian<qint16>(p);
        case 4:
            return qFromLittleEndian<quint32>(p);
        case 5:
            return qFromLittleEndian<qint32>(p);
        case 6:
            return qFromLittleEndian<float>(p);
        case 7:
            return double(qFromLittleEndian<quint64>(p));
        case 8:
            return double(qFromLittleEndian<qint64>(p));
        case 9:
            return qFromLittleEndian<double>(p);
        default:
            return 0;
    }
}

QByteArray SimParamTable::rawOf(const Entry& e) const {
    if (e.type == 10)
        return e.text;
    if (e.code == kSerialCode) {  // 64-bit identity: a double would lose its low bits
        QByteArray raw(8, '\0');
        qToLittleEndian(m_serial, raw.data());
        return raw;
    }
    return toRaw(e.type, e.live && m_live ? m_live(e.code) : e.value);
}

QVector<CanFrame> SimParamTable::describe(quint8 canId) const {
    QVector<CanFrame> out;
    auto frame = [&](quint8 phase, quint16 code) -> CanFrame& {
        out << reply(CANCOM_PARA_STR_INFO, phase, canId);
        putCode(out.last(), code);
        return out.last();
    };
    auto put6 = [](CanFrame& f, const QByteArray& b, int from, int n) {
        for (int i = 0; i < n; ++i)
            f.data[size_t(2 + i)] = quint8(from + i < b.size() ? b[from + i] : 0);
    };
    for (const Entry& e : m_entries) {
        const QByteArray name = text16(e.name);
        put6(frame(0, e.code), name, 0, 6);
        put6(frame(1, e.code), name, 6, 6);
        put6(frame(2, e.code), name, 12, 4);
        const int group = e.code >> 12;
        if (group <= 1) {
            put6(frame(6, e.code), e.text, 0, 6);
            put6(frame(7, e.code), e.text, 6, 6);
            put6(frame(8, e.code), e.text, 12, 4);
            continue;
        }
        CanFrame& lim = frame(3, e.code);
        if (group == 2) {
            qToLittleEndian(e.minRaw, &lim.data[2]);
            qToLittleEndian(e.maxRaw, &lim.data[4]);
            lim.data[6] = quint8(e.exponent);
        }
        lim.data[7] = quint8((e.type & 0x1F) | (e.writable ? 0x20 : 0));
        const QByteArray raw = rawOf(e);
        CanFrame& lo = frame(4, e.code);
        lo.data[3] = quint8(e.type);
        std::memcpy(&lo.data[4], raw.constData(), 4);
        CanFrame& hi = frame(5, e.code);
        hi.data[3] = quint8(e.type);
        std::memcpy(&hi.data[4], raw.constData() + 4, 4);
    }
    // The summary's first bytes are the configuration count, not an entry code.
    CanFrame& sum = frame(9, kConfigCount);
    sum.data[2] = quint8(count(0));
    sum.data[3] = quint8(count(1));
    qToLittleEndian(quint16(count(2)), &sum.data[4]);
    qToLittleEndian(quint16(count(3)), &sum.data[6]);
    return out;
}

QVector<CanFrame> SimParamTable::read(quint8 canId, quint16 code) const {
    const Entry* e = entry(code);
    if (!e) {
        CanFrame f = reply(CANCOM_PARA_READ, 1, canId);
        putCode(f, code);
        return {f};
    }
    const QByteArray raw = rawOf(*e);
    const int size = CanProtocol::valueTypeSize(e->type);
    QVector<CanFrame> out;
    for (int chunk = 0; chunk * 4 < size; ++chunk) {
        CanFrame f = reply(CANCOM_PARA_READ, 0, canId);
        putCode(f, code);
        f.data[2] = quint8(e->type);
        f.data[3] = quint8(chunk);
        std::memcpy(&f.data[4], raw.constData() + chunk * 4, 4);
        out << f;
    }
    return out;
}

CanFrame SimParamTable::write(quint8 canId, const CanFrame& req, const std::function<bool()>& saver,
                              quint16* changed) {
    const int sub = (req.id >> 16) & 0xFF;
    const quint16 code = quint16(req.data[0] | req.data[1] << 8);
    const int type = req.data[2];
    const int chunk = req.data[3];
    auto answer = [&](int error) {
        CanFrame f = reply(CANCOM_PARA_WRITE, quint8((error << 2) | (sub & 3)), canId);
        f.data = req.data;
        return f;
    };
    if (sub == kSave) {
        m_writeCode = -1;
        return answer(saver && saver() ? NoError : SaveFailed);
    }
    if (sub != kWrite)
        return answer(NoSuchCommand);
    Entry* e = find(code);
    if (!e)
        return answer(NoSuchCode);
    if (!e->writable)
        return answer(Unwritable);
    if (type != e->type)
        return answer(TypeError);
    if (chunk == 0) {
        m_writeCode = code;
        m_nextChunk = 0;
        m_collect = QByteArray(16, '\0');
    }
    if (m_writeCode != code || chunk != m_nextChunk) {
        m_writeCode = -1;
        return answer(LossFrame);
    }
    std::memcpy(m_collect.data() + chunk * 4, &req.data[4], 4);
    ++m_nextChunk;
    if (m_nextChunk * 4 < CanProtocol::valueTypeSize(type))
        return answer(NoError);
    m_writeCode = -1;
    if (type == 10) {
        e->text = m_collect;
    } else {
        const double v = fromRaw(type, m_collect);
        if (!std::isfinite(v) || v < limitMin(*e) || v > limitMax(*e))
            return answer(OutOfRange);
        e->value = v;
    }
    if (changed)
        *changed = code;
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
