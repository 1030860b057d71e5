#include "link/param/paramtransfer.h"

#include "link/canprotocol.h"
#include "link/frames/paramframes.h"
#include "link/frames/paramvalue.h"
#include "link/linkstates.h"
#include "link/param/paramstore.h"

#include <QCoreApplication>

#include <cmath>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ParamTransfer", text);
}

int capacity(int group) {
    return group >= 0 && group < ParamStore::kGroups ? ParamStore::kCapacity[size_t(group)] : 0;
}

// Error bits of a description.
enum : quint32 {
    kInvalidType = 0x1,
    kMissingType = 0x2,
    kMissingNumber = 0x4,
    kDisordered = 0x8,
    kOverflow = 0x10,
    kFrameLost = 0x20,
    kTypeMismatch = 0x40,
};

}  // namespace

ParamTransfer::ParamTransfer(ParamStore* store) : m_store(store) {}

void ParamTransfer::begin(Mode mode, quint8 canId) {
    m_mode = mode;
    m_concluded = false;
    m_canId = canId;
    m_errors = 0;
    m_chunk = 0;
    m_strayCode = -1;
    m_buffer = QByteArray(ParamValue::kTextSize, '\0');
}

CanFrame ParamTransfer::startDescription(quint8 canId, quint64 mcuId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    begin(Mode::Describe, canId);
    m_received = {};
    m_lastPhase = m_lastCode = m_lastGroup = -1;
    return ParamFrames::describeRequest(canId, mcuId);
}

std::optional<CanFrame> ParamTransfer::startRead(quint8 canId, bool fromStart) {
    const auto counts = m_store->counts(canId);
    std::lock_guard<std::mutex> lock(m_mutex);
    begin(Mode::Read, canId);
    if (fromStart) {
        m_cursorGroup = 0;
        m_cursorIndex = 0;
    }
    // Empty groups are stepped over: a read of an entry the motor never described could only
    // fail and stop the walk.
    while (m_cursorGroup < 4 && m_cursorIndex >= counts[size_t(m_cursorGroup)]) {
        ++m_cursorGroup;
        m_cursorIndex = 0;
    }
    if (m_cursorGroup >= 4) {
        m_mode = Mode::None;
        return std::nullopt;
    }
    m_expectedCode = ParamFrames::codeOf(m_cursorGroup, m_cursorIndex);
    ParamEntry e;
    m_store->entry(canId, m_expectedCode, &e);
    m_expectedType = m_cursorGroup <= 1 ? ParamValue::kTextType : e.type;
    return ParamFrames::readRequest(canId, m_expectedCode);
}

std::optional<CanFrame> ParamTransfer::startWrite(quint8 canId, bool first, int* status) {
    const auto counts = m_store->counts(canId);
    int firstModified = first ? m_store->nextModified(canId, 0) : -1;
    std::lock_guard<std::mutex> lock(m_mutex);
    const int sub = first ? ParamFrames::kWrite : m_sub;
    begin(Mode::Write, canId);
    m_sub = sub;
    if (first) {
        if (firstModified >= 0) {
            m_cursorGroup = ParamFrames::groupOf(quint16(firstModified));
            m_cursorIndex = ParamFrames::indexOf(quint16(firstModified));
        } else {
            // Past the end: the first index beyond group 2.
            m_cursorGroup = 2;
            m_cursorIndex = counts[2];
        }
    }
    m_expectedCode = ParamFrames::codeOf(qMin(m_cursorGroup, 15), m_cursorIndex);
    if (m_cursorGroup < 4 && m_cursorIndex >= counts[size_t(m_cursorGroup)])
        m_errors = 0x2;
    else if (m_cursorGroup != 0 && m_cursorGroup != 2)
        m_errors = 0x4;
    ParamEntry e;
    if (!m_errors && !m_store->entry(canId, m_expectedCode, &e))
        m_errors = 0x2;
    if (m_errors) {
        m_concluded = true;
        if (status)
            *status = OTA_STA_WRITE_PARA_ERROR;
        return std::nullopt;
    }
    if (m_cursorGroup == 0) {
        m_expectedType = ParamValue::kTextType;
        m_value = ParamValue::textBytes(e.modified ? e.pending : e.value.toLatin1());
    } else {
        m_expectedType = e.type;
        m_value = (e.modified ? e.pending : e.raw).left(ParamValue::size(e.type));
        m_value.append(QByteArray(ParamValue::size(e.type) - m_value.size(), '\0'));
    }
    return chunkFrame();
}

CanFrame ParamTransfer::chunkFrame() const {
    return ParamFrames::writeRequest(m_canId, m_expectedCode, m_expectedType, m_chunk,
                                     m_value.mid(m_chunk * 4, 4));
}

CanFrame ParamTransfer::startSave(quint8 canId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    begin(Mode::Save, canId);
    m_sub = ParamFrames::kSave;
    m_expectedType = 0;
    return ParamFrames::saveRequest(canId);
}

CanFrame ParamTransfer::factoryReset(quint8 canId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Nothing answers a factory reset: no transfer stays under way.
    begin(Mode::None, canId);
    m_sub = ParamFrames::kFactoryReset;
    return ParamFrames::factoryResetRequest(canId);
}

void ParamTransfer::cancel() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_mode = Mode::None;
}

bool ParamTransfer::belongs(const CanFrame& frame) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return belongsLocked(frame);
}

bool ParamTransfer::belongsLocked(const CanFrame& frame) const {
    if (frame.destination() != CanProtocol::kHostId || quint8(frame.id >> 8) != m_canId || m_concluded)
        return false;
    switch (m_mode) {
        case Mode::Describe:
            return frame.type() == CANCOM_PARA_STR_INFO;
        case Mode::Read:
            return frame.type() == CANCOM_PARA_READ;
        case Mode::Write:
        case Mode::Save:
            return frame.type() == CANCOM_PARA_WRITE;
        case Mode::None:
            return false;
    }
    return false;
}

int ParamTransfer::decode(const CanFrame& frame, std::optional<CanFrame>* next) {
    // The check and the decoding under one lock: a transfer started in between is not fed a
    // reply to the one before.
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!belongsLocked(frame))
        return -1;
    switch (m_mode) {
        case Mode::Describe:
            return decodeDescription(frame);
        case Mode::Read:
            return decodeRead(frame);
        case Mode::Write:
        case Mode::Save:
            return decodeWrite(frame, next);
        case Mode::None:
            break;
    }
    return -1;
}

int ParamTransfer::decodeDescription(const CanFrame& frame) {
    const ParamFrames::Description d = ParamFrames::description(frame);
    const int group = ParamFrames::groupOf(d.code);
    const int index = ParamFrames::indexOf(d.code);
    const QByteArray content(reinterpret_cast<const char*>(d.content.data()), 6);

    if (d.phase == ParamFrames::kPhaseSummary) {
        // The summary is not an entry: its first bytes are counts, so neither the continuity
        // check nor the count keeping applies to it.
        const ParamFrames::Summary s = ParamFrames::summary(frame);
        const quint32 mismatch[4] = {0x80, 0x100, 0x200, 0x400};
        for (int g = 0; g < 4; ++g) {
            if (s.counts[size_t(g)] != m_received[size_t(g)])
                m_errors |= mismatch[g];
        }
        m_store->setCounts(m_canId, m_received, s.configCount);
        m_concluded = true;
        return m_errors ? OTA_STA_GET_PARA_INFO_ERROR : OTA_STA_GET_PARA_INFO_SUCCESS;
    }

    quint32 continuity = 0;
    if (d.code == m_lastCode && group == m_lastGroup)
        continuity = index < capacity(group) ? quint32(0) : quint32(kOverflow);
    else if (d.code == m_lastCode)
        continuity = kMissingType;
    else
        continuity = kMissingNumber;

    quint32 error = 0;
    const bool stored = group < 4 && index < capacity(group);
    switch (d.phase) {
        case 0:
        case 6:
            m_buffer = QByteArray(ParamValue::kTextSize, '\0');
            m_buffer.replace(0, 6, content);
            break;
        case 1:
        case 7:
            error = m_lastPhase != d.phase - 1 ? kFrameLost : continuity;
            m_buffer.replace(6, 6, content);
            break;
        case 2:
        case 8: {
            error = m_lastPhase != d.phase - 1 ? kFrameLost : continuity;
            m_buffer.replace(12, 4, content.left(4));
            const QString text = ParamValue::textOf(m_buffer);
            if (d.phase == 2) {
                if (group > 3)
                    error |= kTypeMismatch;
                else if (stored)
                    m_store->setName(m_canId, d.code, text);
            } else if (group <= 1) {
                if (stored)
                    m_store->setText(m_canId, d.code, text);
            } else {
                error |= kTypeMismatch;
            }
            break;
        }
        case 3:
            if (group == 2) {
                const qint16 minRaw = qint16(d.content[0] | (d.content[1] << 8));
                const qint16 maxRaw = qint16(d.content[2] | (d.content[3] << 8));
                const int exponent = qint8(d.content[4]);
                const double scale = std::pow(10.0, exponent);
                if (stored)
                    m_store->setLimits(m_canId, d.code, minRaw * scale, maxRaw * scale,
                                       exponent < 0 ? -exponent : 0, d.content[5] & 0x1F, d.content[5] >> 5);
            } else if (group == 3) {
                if (stored)
                    m_store->setType(m_canId, d.code, d.content[5] & 0x1F);
            } else {
                error = kTypeMismatch;
            }
            break;
        case 4:
        case 5:
            if (group != 2 && group != 3) {
                error = kTypeMismatch;
            } else {
                if (d.phase == 5)
                    error = continuity;
                // The value's bytes collect in the buffer's first eight bytes.
                if (d.phase == 4)
                    m_buffer = QByteArray(ParamValue::kTextSize, '\0');
                m_buffer.replace(d.phase == 4 ? 0 : 4, 4, content.mid(2, 4));
                if (stored) {
                    if (d.phase == 4)
                        m_store->setType(m_canId, d.code, d.content[1] & 0x1F);
                    m_store->setRaw(m_canId, d.code, m_buffer.left(8));
                }
            }
            break;
        default:
            error = kInvalidType;
            break;
    }

    if (group < 4) {
        int& count = m_received[size_t(group)];
        if (index > count)
            error |= kDisordered;
        else if (index == count && count < capacity(group))
            ++count;
    }
    m_errors |= error;
    m_lastCode = d.code;
    m_lastGroup = group;
    m_lastPhase = d.phase;
    return -1;
}

int ParamTransfer::decodeRead(const CanFrame& frame) {
    const ParamFrames::ReadChunk r = ParamFrames::readChunk(frame);
    if (r.code != m_expectedCode)
        m_errors |= 0x10;
    else if (r.missing)
        m_errors |= 0x1;
    else if (r.type != m_expectedType)
        m_errors |= 0x2;
    else if (r.chunk != m_chunk)
        m_errors |= 0x4;
    if (m_errors) {
        m_concluded = true;
        return OTA_STA_READ_PARA_ERROR;
    }
    m_buffer.replace(m_chunk * 4, 4, QByteArray(reinterpret_cast<const char*>(r.bytes.data()), 4));
    if (++m_chunk < ParamValue::chunks(m_expectedType))
        return -1;
    m_store->setRaw(m_canId, m_expectedCode, m_buffer.left(ParamValue::size(m_expectedType)));
    m_store->clearModified(m_canId, m_expectedCode);
    m_concluded = true;
    return OTA_STA_READ_PARA_SUCCESS;
}

int ParamTransfer::decodeWrite(const CanFrame& frame, std::optional<CanFrame>* next) {
    const ParamFrames::WriteChunk w = ParamFrames::writeReplyOf(frame);
    if (w.sub != m_sub)
        m_errors |= 0x8000;
    else if (m_sub != ParamFrames::kSave && w.code != m_expectedCode) {
        m_errors |= 0x4000;
        m_strayCode = w.code;
    } else if (w.type != m_expectedType)
        m_errors |= 0x8;
    else if (w.chunk != m_chunk)
        m_errors |= 0x20;
    else if (w.error != 0)
        m_errors |= quint32(1) << qMin(w.error, 31);
    if (m_errors) {
        m_concluded = true;
        return OTA_STA_WRITE_PARA_ERROR;
    }
    if (m_sub == ParamFrames::kSave) {
        m_concluded = true;
        return OTA_STA_SAVE_PARA_SUCCESS;
    }
    if ((m_chunk + 1) * 4 < m_value.size()) {
        ++m_chunk;
        if (next)
            *next = chunkFrame();
        return -1;
    }
    // The motor took the value: it is the stored one now.
    ParamEntry e;
    if (m_store->entry(m_canId, m_expectedCode, &e)) {
        if (e.group == 0)
            m_store->setText(m_canId, m_expectedCode, ParamValue::textOf(m_value));
        else
            m_store->setRaw(m_canId, m_expectedCode, m_value);
        m_store->clearModified(m_canId, m_expectedCode);
    }
    m_concluded = true;
    return OTA_STA_WRITE_PARA_SUCCESS;
}

bool ParamTransfer::concluded() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_concluded || m_mode == Mode::None;
}

int ParamTransfer::timeoutStatus(int defaultStatus) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (defaultStatus == OTA_STA_GET_PARA_INFO_OVER_TIME && m_errors)
        return OTA_STA_GET_PARA_INFO_ERROR;
    return defaultStatus;
}

ParamTransfer::Mode ParamTransfer::mode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mode;
}

quint8 ParamTransfer::canId() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_canId;
}

quint16 ParamTransfer::expectedCode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_expectedCode;
}

quint32 ParamTransfer::errorBits() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_errors;
}

void ParamTransfer::setCursor(int group, int index) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cursorGroup = qBound(0, group, 4);
    m_cursorIndex = qMax(0, index);
}

int ParamTransfer::strayCode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strayCode;
}

std::pair<int, int> ParamTransfer::cursor() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_cursorGroup, m_cursorIndex};
}

QString ParamTransfer::describeErrorText(quint32 bits) {
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("ParamTransfer", "invalid type"),
        QT_TRANSLATE_NOOP("ParamTransfer", "missing type"),
        QT_TRANSLATE_NOOP("ParamTransfer", "missing number"),
        QT_TRANSLATE_NOOP("ParamTransfer", "disordered number"),
        QT_TRANSLATE_NOOP("ParamTransfer", "storage overflow"),
        QT_TRANSLATE_NOOP("ParamTransfer", "frame lost"),
        QT_TRANSLATE_NOOP("ParamTransfer", "type & data mismatch"),
        QT_TRANSLATE_NOOP("ParamTransfer", "write string number mismatch"),
        QT_TRANSLATE_NOOP("ParamTransfer", "read string number mismatch"),
        QT_TRANSLATE_NOOP("ParamTransfer", "write param number mismatch"),
        QT_TRANSLATE_NOOP("ParamTransfer", "read param number mismatch"),
    };
    QStringList items{QStringLiteral("code:0X") + QString::number(bits, 16)};
    for (int bit = 0; bit < 11; ++bit) {
        if (bits & (1u << bit))
            items << tr(names[bit]);
    }
    return tr("Reload parameters table failed: %1").arg(items.join(QLatin1Char('/')));
}

QString ParamTransfer::readErrorText(quint16 code, quint32 bits) {
    QString suffixes;
    if (bits & 0x1)
        suffixes += tr("/no such code");
    if (bits & 0x2)
        suffixes += tr("/wrong type");
    if (bits & 0x4)
        suffixes += tr("/loss frame");
    if (bits & 0x10)
        suffixes += tr("/number mismatch");
    return tr("Read param from ") + QStringLiteral("0X%1").arg(code, 4, 16, QLatin1Char('0')) +
           tr(" failed: ") + suffixes;
}

QString ParamTransfer::writeErrorText(quint16 code, quint32 bits) {
    static const struct {
        quint32 bit;
        const char* text;
    } suffixes[] = {
        {0x4000, QT_TRANSLATE_NOOP("ParamTransfer", "/code mismatch")},
        {0x8000, QT_TRANSLATE_NOOP("ParamTransfer", "/command mismatch")},
        {0x400, QT_TRANSLATE_NOOP("ParamTransfer", "/no such command")},
        {0x200, QT_TRANSLATE_NOOP("ParamTransfer", "/save failed")},
        {0x100, QT_TRANSLATE_NOOP("ParamTransfer", "/forbid to save")},
        {0x80, QT_TRANSLATE_NOOP("ParamTransfer", "/forbid to modify")},
        {0x40, QT_TRANSLATE_NOOP("ParamTransfer", "/value out of range")},
        {0x20, QT_TRANSLATE_NOOP("ParamTransfer", "/wrong frame")},
        {0x10, QT_TRANSLATE_NOOP("ParamTransfer", "/loss frame")},
        {0x8, QT_TRANSLATE_NOOP("ParamTransfer", "/type error")},
        {0x4, QT_TRANSLATE_NOOP("ParamTransfer", "/unwritable")},
        {0x2, QT_TRANSLATE_NOOP("ParamTransfer", "/no such code")},
    };
    QString text =
        tr("Write param to ") + QStringLiteral("0X%1").arg(code, 4, 16, QLatin1Char('0')) + tr("failed: ");
    for (const auto& s : suffixes) {
        if (bits & s.bit)
            text += tr(s.text);
    }
    return text;
}
