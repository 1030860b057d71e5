#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// A scope recording as the runner attaches it to a report: CSV with a header "time,<channel>,..."
// and one row per record. Read back for the checks on the recording and for the plots, so the
// report shows exactly what was judged.
class CaptureTable {
    Q_DECLARE_TR_FUNCTIONS(CaptureTable)

public:
    QStringList channels;
    QVector<double> time;
    QVector<QVector<double>> values;  // one column per channel, as long as time

    // Refuses a damaged table (ragged rows, text where a number belongs) with the line.
    static std::optional<CaptureTable> fromCsv(const QByteArray& csv, QString* error);
    QByteArray toCsv() const;

    int rows() const { return time.size(); }
    int column(const QString& channel) const { return channels.indexOf(channel); }

    // A statistic of one channel (two for rms_diff): peak (largest magnitude), rms, mean, min,
    // max, peak_to_peak, rms_diff (RMS of the first minus the second). NaN for an empty table
    // or an unknown measure.
    double statistic(const QString& measure, int first, int second = -1) const;
};
