#include "framework/net/networkpackageparser.h"

#include "framework/net/networkpackage.h"

#include <QtEndian>

#include <algorithm>

namespace kx {

NetworkPackageParser::NetworkPackageParser(qint64 packageLimit) {
    setPackageLimit(packageLimit);
}

void NetworkPackageParser::setPackageLimit(qint64 bytes) {
    m_limit = std::clamp<qint64>(bytes, 0, NetworkPackage::kPayloadCeiling - 1);
}

qint64 NetworkPackageParser::packageLimit() const {
    return m_limit;
}

NetworkPackageParser::Result NetworkPackageParser::feed(const QByteArray& bytes) {
    Result result;
    m_frameCache.append(bytes);
    int position = 0;
    while (position < m_frameCache.size()) {
        const int available = m_frameCache.size() - position;
        if (available < 2) {
            break;
        }
        const int length = qFromBigEndian<quint16>(m_frameCache.constData() + position);
        if (length > kMaxFramePayload) {
            result.logErrors.append(QStringLiteral("frame size error, frame abondon"));
            m_frameCache.clear();
            position = 0;
            break;
        }
        if (available < 2 + length) {
            break;
        }
        takeFramePayload(m_frameCache.constData() + position + 2, length, &result);
        position += 2 + length;
    }
    m_frameCache.remove(0, position);
    result.waiting = !m_frameCache.isEmpty() || !m_packageCache.isEmpty() || m_skip > 0;
    return result;
}

void NetworkPackageParser::takeFramePayload(const char* data, int size, Result* result) {
    const int skipped = static_cast<int>(std::min<qint64>(m_skip, size));
    m_skip -= skipped;
    if (skipped == size) {
        return;
    }
    m_packageCache.append(data + skipped, size - skipped);
    int position = 0;
    while (position < m_packageCache.size()) {
        const int available = m_packageCache.size() - position;
        if (available < NetworkPackage::kHeaderSize) {
            break;
        }
        const quint32 length = qFromBigEndian<quint32>(m_packageCache.constData() + position);
        const int type = static_cast<quint8>(m_packageCache.at(position + 4));
        // The header is judged as soon as it is here, not when the payload is complete: a
        // length beyond the limit must not be collected first.
        if (length >= NetworkPackage::kPayloadCeiling) {
            result->packetErrors.append(QStringLiteral("package length error, package abondon"));
            m_packageCache.clear();
            return;
        }
        const bool tooLong = length > m_limit;
        if (tooLong || type > NetworkPackage::Json) {
            result->packetErrors.append(tooLong ? QStringLiteral("package length error, package abondon")
                                                : QStringLiteral("package type error, package abondon"));
            const qint64 whole = NetworkPackage::kHeaderSize + static_cast<qint64>(length);
            if (available >= whole) {
                position += static_cast<int>(whole);
                continue;
            }
            m_skip = whole - available;
            position = m_packageCache.size();
            break;
        }
        if (available < NetworkPackage::kHeaderSize + static_cast<qint64>(length)) {
            break;
        }
        result->packages.append(
            {type, m_packageCache.mid(position + NetworkPackage::kHeaderSize, static_cast<int>(length))});
        position += NetworkPackage::kHeaderSize + static_cast<int>(length);
    }
    m_packageCache.remove(0, position);
}

QStringList NetworkPackageParser::abandon() {
    QStringList lines;
    if (!m_frameCache.isEmpty()) {
        lines.append(QStringLiteral("abondon frame cache, size: %1").arg(m_frameCache.size()));
    }
    if (!m_packageCache.isEmpty()) {
        lines.append(QStringLiteral("abondon package cache, size: %1").arg(m_packageCache.size()));
    }
    m_frameCache.clear();
    m_packageCache.clear();
    m_skip = 0;
    return lines;
}

int NetworkPackageParser::frameCacheSize() const {
    return m_frameCache.size();
}

int NetworkPackageParser::packageCacheSize() const {
    return m_packageCache.size();
}

}  // namespace kx
