#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QtGlobal>

#include "link/canframe.h"

// One record of a bus trace: what the monitor keeps, saves and replays. Frames carry their
// identifier and data; AT lines and bytes the receive path skipped carry their raw bytes.
// Kept small (40 bytes plus the bytes of text records) because the trace holds a million.
struct TraceRecord {
    // Seen from the host: Tx was written by the host, Rx came from the bus or the adapter.
    enum class Direction : quint8 { Rx, Tx };
    enum class Kind : quint8 { Frame, Text, Garbage };

    qint64 timeUs = 0;  // wall time, microseconds since the Unix epoch
    CanFrame frame;     // Kind::Frame only
    Direction direction = Direction::Rx;
    Kind kind = Kind::Frame;
    QByteArray bytes;  // Text and Garbage: the line or the skipped bytes

    bool isFrame() const { return kind == Kind::Frame; }
    bool isTx() const { return direction == Direction::Tx; }

    // A frame from a file that does not say who sent it: replies go to the host or the
    // announce address, everything else is the host's request.
    static Direction directionOf(const CanFrame& frame) {
        const quint8 to = frame.destination();
        return to == 0xFD || to == 0xFE ? Direction::Rx : Direction::Tx;
    }
};

Q_DECLARE_METATYPE(TraceRecord)
