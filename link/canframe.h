#pragma once

#include <QtGlobal>

#include <array>

// One CAN 2.0B frame as the link and the motors exchange it: a 29-bit extended identifier
// (type in bits 28-24, data field in 23-8, destination in 7-0), a length and 8 data bytes.
struct CanFrame {
    quint32 id = 0;
    quint8 length = 0;
    std::array<quint8, 8> data{};

    quint8 type() const { return quint8((id >> 24) & 0x1F); }
    quint16 dataField() const { return quint16((id >> 8) & 0xFFFF); }
    quint8 destination() const { return quint8(id & 0xFF); }

    static quint32 makeId(quint8 type, quint16 dataField, quint8 destination) {
        return (quint32(type & 0x1F) << 24) | (quint32(dataField) << 8) | destination;
    }
};
