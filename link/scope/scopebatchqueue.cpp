#include "link/scope/scopebatchqueue.h"

void ScopeBatchQueue::setLimit(int records) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_limit = qMax(1, records);
}

void ScopeBatchQueue::push(ScopeBatchPtr batch) {
    if (!batch || batch->records() == 0)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records += batch->records();
    m_batches.push_back(std::move(batch));
    while (m_batches.size() > 1 && m_records - m_batches.front()->records() >= m_limit) {
        m_records -= m_batches.front()->records();
        m_batches.pop_front();
    }
}

std::deque<ScopeBatchPtr> ScopeBatchQueue::takeAll() {
    std::deque<ScopeBatchPtr> out;
    std::lock_guard<std::mutex> lock(m_mutex);
    out.swap(m_batches);
    m_records = 0;
    return out;
}

void ScopeBatchQueue::clear() {
    takeAll();
}
