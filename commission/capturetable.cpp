#include "commission/capturetable.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::optional<CaptureTable> CaptureTable::fromCsv(const QByteArray& csv, QString* error) {
    CaptureTable table;
    const QList<QByteArray> lines = csv.split('\n');
    int lineNo = 0;
    bool header = true;
    for (QByteArray line : lines) {
        ++lineNo;
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> cells = line.split(',');
        if (header) {
            if (cells.size() < 2 || cells.first().trimmed() != "time") {
                *error = tr("line %1: a recording starts with \"time\" and its channels").arg(lineNo);
                return std::nullopt;
            }
            for (int i = 1; i < cells.size(); ++i)
                table.channels << QString::fromUtf8(cells[i].trimmed());
            table.values.resize(table.channels.size());
            header = false;
            continue;
        }
        if (cells.size() != table.channels.size() + 1) {
            *error = tr("line %1: %2 values where %3 belong")
                         .arg(lineNo)
                         .arg(cells.size())
                         .arg(table.channels.size() + 1);
            return std::nullopt;
        }
        for (int i = 0; i < cells.size(); ++i) {
            bool ok = false;
            const double v = cells[i].trimmed().toDouble(&ok);
            if (!ok) {
                *error = tr("line %1: \"%2\" is not a number").arg(lineNo).arg(QString::fromUtf8(cells[i]));
                return std::nullopt;
            }
            if (i == 0)
                table.time.append(v);
            else
                table.values[i - 1].append(v);
        }
    }
    if (header) {
        *error = tr("the recording is empty");
        return std::nullopt;
    }
    return table;
}

QByteArray CaptureTable::toCsv() const {
    QByteArray out = "time";
    for (const QString& c : channels)
        out += ',' + c.toUtf8();
    out += "\r\n";
    for (int r = 0; r < rows(); ++r) {
        out += QByteArray::number(time[r], 'g', 12);
        for (const QVector<double>& column : values)
            out += ',' + QByteArray::number(column.value(r), 'g', 12);
        out += "\r\n";
    }
    return out;
}

double CaptureTable::statistic(const QString& measure, int first, int second) const {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (first < 0 || first >= values.size() || rows() == 0)
        return nan;
    const QVector<double>& a = values[first];
    if (measure == QLatin1String("rms_diff")) {
        if (second < 0 || second >= values.size())
            return nan;
        const QVector<double>& b = values[second];
        double sum = 0;
        for (int i = 0; i < a.size(); ++i)
            sum += (a[i] - b[i]) * (a[i] - b[i]);
        return std::sqrt(sum / a.size());
    }
    const auto [lo, hi] = std::minmax_element(a.cbegin(), a.cend());
    if (measure == QLatin1String("min"))
        return *lo;
    if (measure == QLatin1String("max"))
        return *hi;
    if (measure == QLatin1String("peak"))
        return std::max(std::abs(*lo), std::abs(*hi));
    if (measure == QLatin1String("peak_to_peak"))
        return *hi - *lo;
    double sum = 0;
    double squares = 0;
    for (double v : a) {
        sum += v;
        squares += v * v;
    }
    if (measure == QLatin1String("mean"))
        return sum / a.size();
    if (measure == QLatin1String("rms"))
        return std::sqrt(squares / a.size());
    return nan;
}
