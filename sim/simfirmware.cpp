#include "sim/simfirmware.h"

#include "link/canprotocol.h"
#include "link/frames/firmwareframes.h"

#include <QTimer>
#include <QtEndian>

#include <cstring>

quint32 SimFirmware::crc32(const char* data, int size) {
    quint32 crc = 0xFFFFFFFF;
    for (int i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int b = 0; b < 8; ++b)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QString SimFirmware::versionOf(const QByteArray& image) {
    if (image.startsWith("TRVFW")) {
        if (image.size() < 25)
            return QString();
        const quint32 want = qFromLittleEndian<quint32>(image.constData() + 21);
        if (crc32(image.constData() + 25, image.size() - 25) != want)
            return QString();
        QByteArray v = image.mid(5, 16);
        const int end = v.indexOf('\0');
        return QString::fromLatin1(end < 0 ? v : v.left(end));
    }
    return QStringLiteral("fw-%1").arg(crc32(image.constData(), image.size()), 8, 16, QLatin1Char('0'));
}

void SimFirmware::requestResend(quint8 canId) {
    emit frameOut(FirmwareFrames::retry(CANCOM_OTA_ING, canId, quint16(m_next)));
}

void SimFirmware::handle(const CanFrame& req, quint8 canId, quint64 mcuId) {
    switch (req.type()) {
        case CANCOM_OTA_START: {
            if (FirmwareFrames::enterMcuId(req) != mcuId || m_state == State::Erasing)
                return;
            m_state = State::Erasing;
            // The flash erase takes its time; the host keeps asking nothing meanwhile.
            QTimer::singleShot(m_eraseDelayMs, this, [this, canId] {
                if (m_state != State::Erasing)
                    return;
                m_state = State::Ready;
                emit frameOut(FirmwareFrames::accept(CANCOM_OTA_START, canId));
            });
            return;
        }
        case CANCOM_OTA_INFO: {
            if (m_state != State::Ready && m_state != State::Receiving)
                return;
            const quint32 size = FirmwareFrames::infoSize(req);
            const quint32 count = FirmwareFrames::infoCount(req);
            const bool ok = size > 0 && size <= kMaxImage && count == FirmwareFrames::packetCount(size);
            if (ok) {
                m_state = State::Receiving;
                m_size = size;
                m_count = count;
                m_next = 0;
                m_seen = 0;
                m_image = QByteArray(int(count * 8), char(0xFF));
            }
            emit frameOut(FirmwareFrames::infoAnswer(canId, ok, size, count));
            return;
        }
        case CANCOM_OTA_ING: {
            if (m_state != State::Receiving)
                return;
            const quint16 index = FirmwareFrames::packetIndex(req);
            if (index != quint16(m_next) || m_next >= m_count) {
                requestResend(canId);
                return;
            }
            ++m_seen;
            if (m_resendEvery > 0 && m_seen % quint32(m_resendEvery) == 0) {
                // Pretend this packet arrived damaged and go back a little, as a motor whose flash
                // write failed would.
                m_next = m_next >= 2 ? m_next - 2 : 0;
                requestResend(canId);
                return;
            }
            std::memcpy(m_image.data() + m_next * 8, req.data.data(), 8);
            ++m_next;
            emit frameOut(FirmwareFrames::accept(CANCOM_OTA_ING, canId));
            return;
        }
        case CANCOM_OTA_END: {
            if (m_state != State::Receiving)
                return;
            const quint32 count = FirmwareFrames::endCount(req);
            const QByteArray image = m_image.left(int(m_size));
            const QString version = (count == m_count && m_next == m_count) ? versionOf(image) : QString();
            if (version.isEmpty()) {
                // Start over from the first missing packet (or from the beginning for a bad image).
                if (m_next == m_count)
                    m_next = 0;
                emit frameOut(FirmwareFrames::retry(CANCOM_OTA_END, canId, quint16(m_next)));
                return;
            }
            m_state = State::Idle;
            m_image.clear();
            emit frameOut(FirmwareFrames::accept(CANCOM_OTA_END, canId));
            emit updated(version);
            return;
        }
        default:
            return;
    }
}
