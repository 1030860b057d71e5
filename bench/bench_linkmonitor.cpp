// Bus monitor figures: records decoded per second on one core (a bench's mix of feedback,
// set-points, parameter and scope frames, AT lines), the memory of 1,000,000 records in the
// trace ring, and the time to save them as a candump log. Run by hand:
// build/bin/bench_linkmonitor
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <time.h>

#include "link/monitor/framedecoder.h"
#include "link/monitor/tracefilewriter.h"
#include "link/monitor/tracefilter.h"
#include "link/monitor/tracestatistics.h"
#include "link/monitor/tracestore.h"

namespace {

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

long rssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

TraceRecord frame(TraceRecord::Direction dir, quint32 id, const char* hex, qint64 t) {
    TraceRecord r;
    r.direction = dir;
    r.timeUs = t;
    r.frame.id = id;
    const QByteArray bytes = QByteArray::fromHex(hex);
    r.frame.length = quint8(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        r.frame.data[size_t(i)] = quint8(bytes[i]);
    return r;
}

// What a busy bench puts on the line: mostly MIT set-points and feedback, scope samples,
// some parameter traffic, faults and adapter lines.
QVector<TraceRecord> mix(int count) {
    using D = TraceRecord::Direction;
    const QVector<TraceRecord> kinds = {
        frame(D::Tx, 0x017FFF05, "7FFF7FFF00100020", 0),
        frame(D::Rx, 0x028005FD, "8123 7F00 8010 0000", 0),
        frame(D::Rx, 0x028005FD, "8124 7F10 8011 0000", 0),
        frame(D::Rx, 0x0A1205FD, "0102030405060708", 0),
        frame(D::Rx, 0x0A0205FD, "1112131415161718", 0),
        frame(D::Tx, 0x0900FD05, "0820", 0),
        frame(D::Rx, 0x090005FD, "082006000000C03F", 0),
        frame(D::Rx, 0x150005FD, "0900000001000000", 0),
        frame(D::Tx, 0x1200FD05, "05700000 0701FFFF", 0),
        frame(D::Rx, 0x130005FD, "0820 6C696D69745F", 0),
    };
    TraceRecord at;
    at.kind = TraceRecord::Kind::Text;
    at.direction = D::Tx;
    at.bytes = "AT+AT\r\n";
    QVector<TraceRecord> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        TraceRecord r = i % 1000 == 999 ? at : kinds[i % kinds.size()];
        r.timeUs = 1733740000000000 + qint64(i) * 185;  // 5,400 records a second
        out.append(r);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    constexpr int kRecords = 1000000;

    // Decoding.
    {
        const QVector<TraceRecord> records = mix(200000);
        FrameDecoder decoder;
        decoder.learn(frame(TraceRecord::Direction::Rx, 0x020005FD, "00C4000000020000", 0));
        decoder.setNameLookup(
            [](quint8, quint16 code) { return code == 0x2008 ? QStringLiteral("limit_spd") : QString(); });
        qint64 chars = 0;
        const double start = threadCpuSeconds();
        for (int round = 0; round < 10; ++round) {
            for (const TraceRecord& r : records)
                chars += decoder.decode(r).fields.size();
        }
        const double seconds = threadCpuSeconds() - start;
        std::printf("decode: %.2f M records/s on one core (%.0f ns each, %lld characters)\n",
                    10.0 * records.size() / seconds / 1e6, seconds / (10.0 * records.size()) * 1e9,
                    static_cast<long long>(chars));

        TraceFilter filter;
        QString error;
        TraceFilter::parse(QStringLiteral("id=5 text=mode=run"), &filter, &error);
        int accepted = 0;
        const double fstart = threadCpuSeconds();
        for (const TraceRecord& r : records) {
            if (filter.acceptsRecord(r) && filter.accepts(r, decoder.decode(r)))
                ++accepted;
        }
        const double fseconds = threadCpuSeconds() - fstart;
        std::printf("filter with text: %.2f M records/s (%d of %d shown)\n", records.size() / fseconds / 1e6,
                    accepted, records.size());

        TraceStatistics stats;
        const double sstart = threadCpuSeconds();
        for (const TraceRecord& r : records)
            stats.add(r);
        std::printf("statistics: %.2f M records/s\n", records.size() / (threadCpuSeconds() - sstart) / 1e6);
    }

    // The ring.
    const long before = rssKb();
    TraceStore store;
    {
        const QVector<TraceRecord> chunk = mix(100000);
        for (int i = 0; i < kRecords / chunk.size() + 1; ++i)
            store.append(chunk);
    }
    const long after = rssKb();
    std::printf("ring: %llu records held (%llu dropped from the start), %.1f MB resident for them\n",
                static_cast<unsigned long long>(store.size()),
                static_cast<unsigned long long>(store.droppedFromStart()), (after - before) / 1024.0);

    // Saving as candump, in chunks as the page does.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.log"));
    QElapsedTimer wall;
    wall.start();
    const double cpu = threadCpuSeconds();
    TraceFileWriter writer(path, TraceFileFormat::Candump);
    QString error;
    writer.open(&error);
    for (quint64 seq = store.first(); seq < store.end(); seq += 65536) {
        for (const TraceRecord& r : store.range(seq, seq + 65536))
            writer.add(r);
    }
    const bool ok = writer.commit(&error);
    std::printf("save candump: %llu frames in %.2f s wall, %.2f s CPU, %.1f MB file%s\n",
                static_cast<unsigned long long>(writer.frames()), wall.elapsed() / 1000.0,
                threadCpuSeconds() - cpu, QFile(path).size() / 1e6, ok ? "" : " (FAILED)");
    return ok ? 0 : 1;
}
