#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;
class QIODevice;
class QTemporaryFile;

namespace kx {

// A file that is replaced whole or not at all. The bytes go to a temporary file beside the
// target, which takes the target's place only on commit(), and only when every byte reached
// the disk: each write is checked, and before the rename the data is flushed and the device's
// error read (Qt 5.15's QSaveFile can report a commit as done after its buffered data failed
// to reach a full disk, leaving an empty file in place of the old one).
//
// An existing target that is a character device (/dev/null, a terminal) is written directly,
// with the same checks; any other kind of file that is not a regular one (a directory, a FIFO,
// a socket, a block device) is refused: renaming over it would destroy it, and a FIFO would
// wait for a reader. A symbolic link is followed, so the link stays a link.
//
// One owner, one thread; destroyed without commit() it leaves the target as it was.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // false with the reason in errorString().
    bool open();
    bool isOpen() const;
    // false once any write failed; later writes do nothing.
    bool write(const QByteArray& data);
    // For writers that stream into a device (QXmlStreamWriter): their failures show at commit.
    QIODevice* device() const;
    // Puts the new file in the target's place; false (the target untouched) when anything
    // went wrong since open().
    bool commit();
    // The same, but the new file takes another name (beside the target, say), and the target
    // stays as it was.
    bool commitAs(const QString& path);
    // Drops the new file; the target stays as it was.
    void discard();

    bool failed() const { return !m_error.isEmpty(); }
    // The system's reason for the first failure ("No space left on device").
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

    // Writes data to path in one piece.
    static bool writeAll(const QString& path, const QByteArray& data, QString* error);

private:
    void fail(const QString& reason);
    bool finishWriting();

    QString m_path;    // as given
    QString m_target;  // the file replaced: the path with links followed
    QString m_error;
    std::unique_ptr<QTemporaryFile> m_temp;
    std::unique_ptr<QFile> m_direct;  // a character device, written in place
};

}  // namespace kx
