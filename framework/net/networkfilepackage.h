#pragma once

#include "framework/net/networkpackage.h"

#include <QString>

namespace kx {

// A package carrying a file: protocol number (2 bytes, 0), append flag, MD5 of the content,
// path length in characters (2 bytes), the path in UTF-8, then the content.
class NetworkFilePackage : public NetworkPackage {
public:
    static constexpr int kFixedSize = 21;

    NetworkFilePackage();
    NetworkFilePackage(const QString& remotePath, const QByteArray& content, bool append);

    QString remotePath() const;
    QByteArray content() const;
    QByteArray digest() const;
    bool isAppend() const;
    // Whether the content matches the digest it travelled with.
    bool digestMatches() const;

    // Reads a received payload; false with the log text in error when it cannot be resolved.
    static bool parse(const QByteArray& payload, NetworkFilePackage* package, QString* error);
    // Where a received path may be written inside directory: the cleaned absolute path, or
    // empty for absolute paths, ".." components and paths that leave the directory.
    static QString confinedPath(const QString& directory, const QString& path);

private:
    QString m_remotePath;
    QByteArray m_content;
    QByteArray m_digest;
    bool m_append = false;
};

}  // namespace kx
