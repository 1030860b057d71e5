#pragma once

#include <QtGlobal>

#include <deque>

// Everything the oscilloscope recorded since Start, for "the whole recording": the records of
// the active channels in arrival order. Bounded, the oldest records going first, so that a
// stream left running for hours cannot take all memory. Used on the plot's thread only.
class ScopeRecording {
public:
    // Values kept at most (times included): 32 MiB of doubles.
    static constexpr qint64 kMaxValues = 4 * 1024 * 1024;

    void reset(int channels);
    void append(double time, const double* values);

    qint64 size() const { return qint64(m_data.size()) / stride(); }
    int channels() const { return m_channels; }
    // Records dropped at the front to stay within kMaxValues.
    qint64 dropped() const { return m_dropped; }
    double time(qint64 i) const { return m_data[size_t(i * stride())]; }
    double value(int channel, qint64 i) const { return m_data[size_t(i * stride() + 1 + channel)]; }

private:
    qint64 stride() const { return 1 + m_channels; }

    std::deque<double> m_data;  // time, then one value per channel, record after record
    int m_channels = 0;
    qint64 m_dropped = 0;
};
