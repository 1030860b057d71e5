#pragma once

#include <QVector>

#include <array>

// The last `capacity` sample records of up to eight channels, oldest first: a ring buffer, so
// adding a record costs the same however long the history is, and memory stays at capacity.
// Owned and used by one thread (the plot's or a recorder's); not shared.
class ScopeHistory {
public:
    static constexpr int kChannels = 8;

    // Empties the history and sets how many records it keeps (at least 1).
    void reset(int capacity, int channels);
    void append(double time, const double* values);

    int size() const { return m_size; }
    int capacity() const { return m_capacity; }
    int channels() const { return m_channels; }
    // Record i counted from the oldest one kept (0 <= i < size()).
    double time(int i) const { return m_times[slot(i)]; }
    double value(int channel, int i) const { return m_values[slot(i) * kChannels + channel]; }
    // Index of the last record whose time is <= t (the first one when t is earlier); -1 empty.
    int indexAt(double t) const;

private:
    int slot(int i) const {
        const int s = m_head + i;
        return s >= m_capacity ? s - m_capacity : s;
    }

    QVector<double> m_times;
    QVector<double> m_values;  // kChannels per record
    int m_capacity = 0;
    int m_channels = 0;
    int m_head = 0;  // slot of the oldest record
    int m_size = 0;
};
