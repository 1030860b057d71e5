#include "framework/net/networkfilepackage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QtEndian>

namespace kx {

namespace {

QByteArray filePayload(const QString& remotePath, const QByteArray& content, const QByteArray& digest,
                       bool append) {
    QByteArray payload(NetworkFilePackage::kFixedSize, '\0');
    payload[2] = append ? 1 : 0;
    payload.replace(3, 16, digest);
    // The length counts characters, so only ASCII paths travel intact.
    qToBigEndian<quint16>(static_cast<quint16>(remotePath.size()), payload.data() + 19);
    payload.append(remotePath.toUtf8());
    payload.append(content);
    return payload;
}

}  // namespace

NetworkFilePackage::NetworkFilePackage(const QString& remotePath, const QByteArray& content, bool append)
    : NetworkPackage(filePayload(remotePath, content,
                                 QCryptographicHash::hash(content, QCryptographicHash::Md5), append),
                     File),
      m_remotePath(remotePath),
      m_content(content),
      m_digest(QCryptographicHash::hash(content, QCryptographicHash::Md5)),
      m_append(append) {}

NetworkFilePackage::NetworkFilePackage() : NetworkPackage(QByteArray(), File) {}

QString NetworkFilePackage::remotePath() const {
    return m_remotePath;
}

QByteArray NetworkFilePackage::content() const {
    return m_content;
}

QByteArray NetworkFilePackage::digest() const {
    return m_digest;
}

bool NetworkFilePackage::isAppend() const {
    return m_append;
}

bool NetworkFilePackage::digestMatches() const {
    return QCryptographicHash::hash(m_content, QCryptographicHash::Md5) == m_digest;
}

bool NetworkFilePackage::parse(const QByteArray& payload, NetworkFilePackage* package, QString* error) {
    const int protocol = payload.size() >= 2 ? qFromBigEndian<quint16>(payload.constData()) : -1;
    if (payload.size() < kFixedSize || protocol != 0) {
        *error = QStringLiteral("cannot resolve file package proto %1").arg(protocol);
        return false;
    }
    const int length = qFromBigEndian<quint16>(payload.constData() + 19);
    const QString path = QString::fromUtf8(payload.mid(kFixedSize, length));
    if (path.size() != length || kFixedSize + length > payload.size()) {
        *error = QStringLiteral("path resolves falied, len: %1 path: %2").arg(length).arg(path);
        return false;
    }
    package->m_append = payload.at(2) == 1;
    package->m_digest = payload.mid(3, 16);
    package->m_remotePath = path;
    package->m_content = payload.mid(kFixedSize + length);
    package->setPayload(payload);
    return true;
}

QString NetworkFilePackage::confinedPath(const QString& directory, const QString& path) {
    if (directory.isEmpty() || path.isEmpty() || path.contains(QLatin1Char('\0'))) {
        return QString();
    }
    // Refused in either separator style, whatever the platform: a peer's path is not ours.
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (QDir::isAbsolutePath(path) || path.startsWith(QLatin1Char('/')) ||
        path.startsWith(QLatin1Char('\\')) || drive.match(path).hasMatch()) {
        return QString();
    }
    const QStringList parts = path.split(QRegularExpression(QStringLiteral("[/\\\\]")), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(QStringLiteral(".."))) {
        return QString();
    }
    const QString base = QDir::cleanPath(QDir(directory).absolutePath());
    const QString target = QDir::cleanPath(base + QLatin1Char('/') + parts.join(QLatin1Char('/')));
    if (!target.startsWith(base + QLatin1Char('/'))) {
        return QString();
    }
    return target;
}

}  // namespace kx
