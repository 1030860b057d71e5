#pragma once

#include <QVector>

#include <memory>

// Records decoded since the previous hand-over, in arrival order. A batch is complete before
// it is handed over and never changed afterwards, so the plot may read it on its own thread
// while the receive path goes on filling the next one.
struct ScopeBatch {
    int channels = 0;        // values per record
    quint64 generation = 0;  // configuration the records belong to
    QVector<double> times;   // seconds, from the motor's time stamps
    QVector<double> values;  // channels values per record, in channel order

    int records() const { return times.size(); }
};

using ScopeBatchPtr = std::shared_ptr<const ScopeBatch>;
