#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace kx {

// Cuts received bytes into frames (2-byte big-endian length, at most 10240 payload bytes) and
// the frames' payloads into packages. A peer is untrusted: the package cache never grows past
// the package limit; a refused package whose length is plausible is skipped as a whole, so the
// packages after it are still understood.
class NetworkPackageParser {
public:
    static constexpr int kMaxFramePayload = 10240;
    static constexpr qint64 kDefaultPackageLimit = 64 * 1024 * 1024;

    struct Package {
        int type;
        QByteArray payload;
    };
    struct Result {
        QList<Package> packages;
        QStringList logErrors;     // lines for the error log
        QStringList packetErrors;  // texts for the packet error signal
        bool waiting = false;      // bytes wait in a cache for the rest of their frame or package
    };

    explicit NetworkPackageParser(qint64 packageLimit = kDefaultPackageLimit);

    void setPackageLimit(qint64 bytes);
    qint64 packageLimit() const;

    Result feed(const QByteArray& bytes);
    // Gives up on whatever waits; the log lines say how much was dropped.
    QStringList abandon();

    int frameCacheSize() const;
    int packageCacheSize() const;

private:
    void takeFramePayload(const char* data, int size, Result* result);

    QByteArray m_frameCache;
    QByteArray m_packageCache;
    qint64 m_skip = 0;  // bytes of a refused package still to come
    qint64 m_limit;
};

}  // namespace kx
