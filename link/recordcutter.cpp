#include "link/recordcutter.h"

#include <cstring>

namespace {
constexpr int kCompactAt = 64 * 1024;
}

void RecordCutter::append(const QByteArray& bytes) {
    if (m_buffer.capacity() < kCompactAt)
        m_buffer.reserve(2 * kCompactAt);  // also keeps the block when the buffer empties
    if (m_pos > 0 && (m_pos == m_buffer.size() || m_pos >= kCompactAt)) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    m_buffer.append(bytes);
}

void RecordCutter::skip(int count) {
    constexpr int kKeptSkipped = 4096;
    if (m_keepSkipped) {
        m_skipped.append(m_buffer.constData() + m_pos, count);
        if (m_skipped.size() > kKeptSkipped)
            m_skipped.remove(0, m_skipped.size() - kKeptSkipped);
    }
    m_dropped += count;
    m_pos += count;
}

QByteArray RecordCutter::takeSkipped() {
    QByteArray bytes;
    bytes.swap(m_skipped);
    return bytes;
}

void RecordCutter::clear() {
    m_buffer.resize(0);
    m_pos = 0;
}

int RecordCutter::frameAt(int at) const {
    const int avail = m_buffer.size() - at;
    const char* p = m_buffer.constData() + at;
    if (avail < 1 || p[0] != 'A')
        return 0;
    if (avail < 2)
        return -1;
    if (p[1] != 'T')
        return 0;
    if (avail < 7)
        return -1;
    const int n = quint8(p[6]);
    if (n > 8)
        return 0;
    if (avail < n + 9)
        return -1;
    return (p[n + 7] == '\r' && p[n + 8] == '\n') ? n + 9 : 0;
}

bool RecordCutter::next(QByteArray* record) {
    for (;;) {
        const int size = m_buffer.size();
        if (m_pos >= size)
            return false;
        const int frame = frameAt(m_pos);
        if (frame > 0) {
            *record = m_buffer.mid(m_pos, frame);
            m_pos += frame;
            return true;
        }
        if (frame < 0)
            return false;  // a frame record has begun; wait for the rest

        // Not a frame here: a text line, or noise in front of the next frame.
        const char* base = m_buffer.constData();
        const int lineEnd = m_buffer.indexOf("\r\n", m_pos);
        const int limit = lineEnd >= 0 ? lineEnd : size;
        int frameStart = -1;
        for (int i = m_pos + 1; i < limit; ++i) {
            const char* hit = static_cast<const char*>(std::memchr(base + i, 'A', size_t(limit - i)));
            if (!hit)
                break;
            i = int(hit - base);
            if (i + 1 >= size || base[i + 1] == 'T') {
                frameStart = i;
                break;
            }
        }
        // A complete frame behind the noise wins over a CR LF inside its data bytes.
        if (frameStart >= 0 && frameAt(frameStart) > 0) {
            skip(frameStart - m_pos);
            continue;
        }
        // A frame that has only begun behind noise may own that CR LF: wait for it while it can
        // still turn out to be one (at most a frame's length more). Lines that start with "AT"
        // (commands, damaged frames) are cut at once; other text holding "AT" near its end
        // waits for the next bytes, which adapter answers never do.
        const bool lineStart = base[m_pos] == 'A' && m_pos + 1 < size && base[m_pos + 1] == 'T';
        if (!lineStart && frameStart >= 0 && lineEnd >= 0 && frameAt(frameStart) < 0 &&
            lineEnd < frameStart + 17)
            return false;
        if (lineEnd >= 0) {
            *record = m_buffer.mid(m_pos, lineEnd + 2 - m_pos);
            m_pos = lineEnd + 2;
            return true;
        }
        if (size - m_pos <= kMaxLine)
            return false;
        // Overlong line without CR LF. A complete frame would have brought its own CR LF, so
        // only the tail can still hold the start of one (or a lone CR awaiting its LF).
        skip(size - 16 - m_pos);
        return false;
    }
}
