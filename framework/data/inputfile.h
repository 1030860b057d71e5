#pragma once

#include <QByteArray>
#include <QString>

namespace kx {

// Files the user names for reading. Anything that is not a regular file is refused before it is
// opened: opening a FIFO waits for a writer that may never come, and a device never ends. What
// is read is bounded, so a file that grows meanwhile cannot take the memory.
class InputFile {
public:
    // Whether path names a regular file (links followed); the reason in *error otherwise.
    static bool check(const QString& path, QString* error);
    // The whole file; refused when it is not a regular file, cannot be read or holds more than
    // maxBytes.
    static bool read(const QString& path, qint64 maxBytes, QByteArray* data, QString* error);
};

}  // namespace kx
