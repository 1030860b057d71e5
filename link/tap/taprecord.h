#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QtGlobal>

#include "link/canframe.h"

// One record as the link wrote or received it, the way the frame tap hands it to observers.
// Frame records carry their decoded frame; text lines (AT commands and the adapter's answers)
// and bytes the receive path had to skip carry only their raw bytes.
struct TapRecord {
    enum class Direction : quint8 { Rx, Tx };
    enum class Kind : quint8 {
        Frame,    // a frame record (serial "AT" record, or a frame of a CAN interface)
        Text,     // an AT command or an adapter answer line
        Garbage,  // bytes the receive path skipped: they could not be cut into a record
    };

    qint64 timeUs = 0;  // monotonic, microseconds (FrameTap::epochOffsetUs() makes it wall time)
    Direction direction = Direction::Rx;
    Kind kind = Kind::Frame;
    CanFrame frame;  // valid when kind == Frame
    QByteArray raw;  // the record as it crossed the line (for Garbage: the skipped bytes)
};

Q_DECLARE_METATYPE(TapRecord)
