#include "link/tap/tapsubscription.h"

TapSubscription::TapSubscription(int capacity) : m_capacity(capacity) {}

void TapSubscription::push(const TapRecord& record) {
    bool notify = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (int(m_queue.size()) >= m_capacity) {
            m_queue.pop_front();
            m_dropped.fetch_add(1, std::memory_order_relaxed);
        }
        m_queue.push_back(record);
        if (!m_signalled) {
            m_signalled = true;
            notify = true;
        }
    }
    // One queued signal per batch: the observer takes everything that waits when it runs.
    if (notify)
        QMetaObject::invokeMethod(this, &TapSubscription::ready, Qt::QueuedConnection);
}

QVector<TapRecord> TapSubscription::take() {
    std::deque<TapRecord> batch;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        batch.swap(m_queue);
        m_signalled = false;
    }
    return QVector<TapRecord>(std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
}
