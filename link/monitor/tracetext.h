#pragma once

#include <QByteArray>
#include <QString>

#include "link/monitor/framedecoder.h"
#include "link/monitor/tracerecord.h"

// The text forms of a decoded record shared by the CLI and the monitor page.
namespace TraceText {

// "1733740000.123456" (seconds since the epoch, microseconds).
QString time(qint64 us);
// A CAN ID as people call it: decimal, "host" for 0xFD, "all" for the announce address; "-" none.
QString canId(int id);
// The data bytes ("7F FF 80 00"), or the raw bytes of a text line or skipped bytes.
QString data(const TraceRecord& record);
// The identifier as 8 hex digits; empty for records that are not frames.
QString identifier(const TraceRecord& record);
// "1733740000.123456 Tx MOTOR_CTRL     host->5   pos=0.000 ..." for a terminal.
QString line(const TraceRecord& record, const DecodedRecord& decoded);
// One JSON object (compact, no newline).
QByteArray json(const TraceRecord& record, const DecodedRecord& decoded);

}  // namespace TraceText
