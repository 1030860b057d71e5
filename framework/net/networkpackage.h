#pragma once

#include <QByteArray>

namespace kx {

// A package on the wire: 4-byte big-endian payload length, type byte, reserved byte, payload.
class NetworkPackage {
public:
    enum NetworkPackageType { Bytes = 0, File = 1, Json = 2 };

    // Payloads must stay below this many bytes.
    static constexpr quint32 kPayloadCeiling = 524288001u;
    static constexpr int kHeaderSize = 6;

    explicit NetworkPackage(const QByteArray& payload = QByteArray(), NetworkPackageType type = Bytes);
    virtual ~NetworkPackage();

    NetworkPackageType type() const;
    QByteArray payload() const;
    // Header and payload; empty when the payload is too large for the wire.
    QByteArray toBytes() const;

protected:
    void setPayload(const QByteArray& payload);

private:
    QByteArray m_payload;
    NetworkPackageType m_type;
};

}  // namespace kx
