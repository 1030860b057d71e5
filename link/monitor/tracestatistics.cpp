#include "link/monitor/tracestatistics.h"

#include "link/canprotocol.h"
#include "link/monitor/framedecoder.h"
#include "link/motorreplies.h"

#include <QCoreApplication>
#include <QVector>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("TraceStatistics", text);
}

}  // namespace

double IdStatistics::rate() const {
    // A few records close together would give an absurd rate: wait for a second of traffic.
    if (records < 2 || lastUs - firstUs < 1000000)
        return 0;
    return double(records - 1) * 1e6 / double(lastUs - firstUs);
}

QString IdStatistics::typeCounts() const {
    QStringList parts;
    for (int t = 0; t < 32; ++t) {
        if (perType[size_t(t)])
            parts << FrameDecoder::typeName(t) + QLatin1Char(' ') + QString::number(perType[size_t(t)]);
    }
    if (text)
        parts << QStringLiteral("AT ") + QString::number(text);
    return parts.join(QStringLiteral(", "));
}

void TraceStatistics::add(const TraceRecord& r) {
    const int canId = FrameDecoder::motorOf(r);
    IdStatistics& s = m_ids[canId];
    s.canId = canId;
    if (s.records == 0)
        s.firstUs = r.timeUs;
    ++s.records;
    if (!r.isTx())
        ++s.received;
    s.lastUs = r.timeUs;
    if (FrameDecoder::problemOf(r)) {
        ++s.failed;
        if (r.isFrame() && r.frame.type() < 32)
            ++s.perType[r.frame.type()];
        return;
    }
    if (!r.isFrame()) {
        ++s.text;
        return;
    }
    const int type = r.frame.type();
    ++s.perType[size_t(type)];
    if (r.isTx())
        return;
    if (type == CANCOM_MOTOR_FEEDBACK && !MotorReplies::feedback(r.frame).modelReply) {
        if (s.feedback > 0) {
            const qint64 interval = r.timeUs - s.lastFeedbackUs;
            if (s.intervals == 0 || interval < s.minIntervalUs)
                s.minIntervalUs = interval;
            if (s.intervals == 0 || interval > s.maxIntervalUs)
                s.maxIntervalUs = interval;
            s.sumIntervalUs += double(interval);
            ++s.intervals;
        }
        ++s.feedback;
        s.lastFeedbackUs = r.timeUs;
    } else if (type == CANCOM_FAULT_WARN) {
        const MotorReplies::FaultWarning w = MotorReplies::faultWarning(r.frame);
        s.faultSeen = true;
        s.lastFault = w.fault;
        s.lastWarning = w.warning;
    }
}

QStringList TraceStatistics::table() const {
    QStringList out;
    out << tr("CAN ID   records     rate/s  feedback interval ms (min/mean/max)  fault      failed  types");
    int silentIds = 0;
    quint64 silentRequests = 0;
    for (const IdStatistics& s : m_ids) {
        if (s.received == 0 && s.canId >= 0) {
            ++silentIds;
            silentRequests += s.records;
            continue;
        }
        const QString id = s.canId < 0 ? tr("adapter") : QString::number(s.canId);
        const QString intervals = s.intervals ? QStringLiteral("%1/%2/%3")
                                                    .arg(s.minIntervalUs / 1000.0, 0, 'f', 3)
                                                    .arg(s.meanIntervalUs() / 1000.0, 0, 'f', 3)
                                                    .arg(s.maxIntervalUs / 1000.0, 0, 'f', 3)
                                              : QStringLiteral("-");
        const QString fault = s.faultSeen ? QStringLiteral("0x%1").arg(s.lastFault, 8, 16, QLatin1Char('0'))
                                          : QStringLiteral("-");
        out << QStringLiteral("%1 %2 %3  %4  %5 %6  %7")
                   .arg(id, -6)
                   .arg(s.records, 10)
                   .arg(s.rate() > 0 ? QString::number(s.rate(), 'f', 1) : QStringLiteral("-"), 10)
                   .arg(intervals, -35)
                   .arg(fault, -10)
                   .arg(s.failed, 6)
                   .arg(s.typeCounts());
    }
    if (silentIds > 0)
        out << tr("%1 CAN IDs never answered the %2 requests sent to them.")
                   .arg(silentIds)
                   .arg(silentRequests);
    return out;
}
