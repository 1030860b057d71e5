#include "framework/net/networkpackage.h"

#include <QtEndian>

namespace kx {

NetworkPackage::NetworkPackage(const QByteArray& payload, NetworkPackageType type)
    : m_payload(payload), m_type(type) {}

NetworkPackage::~NetworkPackage() = default;

NetworkPackage::NetworkPackageType NetworkPackage::type() const {
    return m_type;
}

QByteArray NetworkPackage::payload() const {
    return m_payload;
}

QByteArray NetworkPackage::toBytes() const {
    if (static_cast<quint64>(m_payload.size()) >= kPayloadCeiling) {
        return QByteArray();
    }
    QByteArray bytes(kHeaderSize, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(m_payload.size()), bytes.data());
    bytes[4] = static_cast<char>(m_type);
    bytes.append(m_payload);
    return bytes;
}

void NetworkPackage::setPayload(const QByteArray& payload) {
    m_payload = payload;
}

}  // namespace kx
