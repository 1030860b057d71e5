#include "link/monitor/tracefilereader.h"

#include "link/monitor/ascformat.h"
#include "link/monitor/candumpformat.h"

#include <QCoreApplication>
#include <QFile>

#include <cstring>
#include <deque>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("TraceFileReader", text);
}

constexpr qint64 kChunk = 1 << 20;

bool startsWith(const char* p, int size, const char* text) {
    const int n = int(qstrlen(text));
    return size >= n && qstrnicmp(p, text, uint(n)) == 0;
}

// The format a line names, when it names one.
bool formatOfLine(const char* p, int size, TraceFileFormat* format) {
    while (size > 0 && (*p == ' ' || *p == '\t')) {
        ++p;
        --size;
    }
    if (size > 0 && *p == '(') {
        *format = TraceFileFormat::Candump;
        return true;
    }
    if (startsWith(p, size, "date ") || startsWith(p, size, "base ") ||
        startsWith(p, size, "begin triggerblock")) {
        *format = TraceFileFormat::Asc;
        return true;
    }
    return false;
}

}  // namespace

QStringList TraceFileReader::Report::notes() const {
    QStringList out;
    if (leftOut > 0)
        out << QCoreApplication::translate(
                   "TraceFileReader",
                   "The file holds %1 frames, more than the trace keeps: the last %2 were loaded.")
                   .arg(frames)
                   .arg(frames - leftOut);
    if (ignored() > 0)
        out << QCoreApplication::translate(
                   "TraceFileReader",
                   "%1 records ignored (%2 with 11-bit identifiers, %3 error frames, %4 others).")
                   .arg(ignored())
                   .arg(standard)
                   .arg(errorFrames)
                   .arg(other);
    if (corrupt > 0) {
        out << QCoreApplication::translate("TraceFileReader", "%1 lines skipped as unreadable:").arg(corrupt);
        out << problems;
        if (corrupt > quint64(problems.size()))
            out << QCoreApplication::translate("TraceFileReader", "... and %1 more.")
                       .arg(corrupt - quint64(problems.size()));
    }
    return out;
}

bool TraceFileReader::read(const QString& path, const std::function<void(TraceRecord&&)>& sink,
                           Report* report, QString* error) {
    *report = Report();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    report->format = traceFileFormatFor(path);
    bool formatKnown = false;
    AscFormat::Parser asc;
    QByteArray chunk;
    QByteArray line;
    bool overlong = false;  // the current line passed kMaxLine: the rest of it is skipped
    TraceRecord record;

    auto take = [&](const char* p, int size) {
        ++report->lines;
        if (overlong) {
            overlong = false;
            ++report->corrupt;
            if (report->problems.size() < kMaxProblems)
                report->problems << tr("line %1: %2").arg(report->lines).arg(tr("line too long"));
            return;
        }
        if (!formatKnown)
            formatKnown = formatOfLine(p, size, &report->format);
        const char* reason = "";
        const TraceLine kind = report->format == TraceFileFormat::Asc
                                   ? asc.parseLine(p, size, &record, &reason)
                                   : CandumpFormat::parseLine(p, size, &record, &reason);
        switch (kind) {
            case TraceLine::Frame:
                ++report->frames;
                sink(std::move(record));
                record = TraceRecord();
                break;
            case TraceLine::Skip:
                break;
            case TraceLine::Standard:
                ++report->standard;
                break;
            case TraceLine::Error:
                ++report->errorFrames;
                break;
            case TraceLine::Other:
                ++report->other;
                break;
            case TraceLine::Corrupt:
                ++report->corrupt;
                if (report->problems.size() < kMaxProblems)
                    report->problems << tr("line %1: %2").arg(report->lines).arg(tr(reason));
                break;
        }
    };

    while (true) {
        chunk = file.read(kChunk);
        if (chunk.isEmpty())
            break;
        const char* p = chunk.constData();
        const char* end = p + chunk.size();
        while (p < end) {
            const char* newline = static_cast<const char*>(memchr(p, '\n', size_t(end - p)));
            const char* stop = newline ? newline : end;
            if (!overlong) {
                if (line.size() + (stop - p) > kMaxLine) {
                    overlong = true;
                    line.clear();
                } else if (newline && line.isEmpty()) {
                    take(p, int(stop - p));  // the whole line is in the chunk: no copy
                    p = newline + 1;
                    continue;
                } else {
                    line.append(p, int(stop - p));
                }
            }
            if (!newline)
                break;
            take(line.constData(), line.size());
            line.clear();
            p = newline + 1;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    if (!line.isEmpty() || overlong)
        take(line.constData(), line.size());
    return true;
}

bool TraceFileReader::load(const QString& path, int limit, QVector<TraceRecord>* records, Report* report,
                           QString* error) {
    std::deque<TraceRecord> kept;
    const size_t max = size_t(qMax(1, limit));
    const bool ok = read(
        path,
        [&](TraceRecord&& r) {
            if (kept.size() == max)
                kept.pop_front();
            kept.push_back(std::move(r));
        },
        report, error);
    if (!ok)
        return false;
    report->leftOut = report->frames - kept.size();
    records->clear();
    records->reserve(int(kept.size()));
    for (TraceRecord& r : kept)
        records->append(std::move(r));
    return true;
}
