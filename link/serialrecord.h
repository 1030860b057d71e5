#pragma once

#include <QByteArray>

#include "link/canframe.h"

// The adapter's byte record of one frame: "AT", the big-endian word (id << 3) | 4, the
// length n, n data bytes, CR LF.
namespace SerialRecord {

// Length clamped to 1..8 (0 becomes 1 with a zero data byte).
QByteArray fromFrame(const CanFrame& frame);
// True when record is a well-formed frame record (starts with "AT", length byte 0..8,
// size n + 9); fills frame.
bool toFrame(const QByteArray& record, CanFrame* frame);

}  // namespace SerialRecord
