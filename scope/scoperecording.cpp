#include "scope/scoperecording.h"

void ScopeRecording::reset(int channels) {
    m_data.clear();
    m_data.shrink_to_fit();
    m_channels = qMax(0, channels);
    m_dropped = 0;
}

void ScopeRecording::append(double time, const double* values) {
    if (qint64(m_data.size()) + stride() > kMaxValues) {
        m_data.erase(m_data.begin(), m_data.begin() + stride());
        ++m_dropped;
    }
    m_data.push_back(time);
    for (int k = 0; k < m_channels; ++k)
        m_data.push_back(values[k]);
}
