#pragma once

#include <QByteArray>
#include <QString>

namespace kx {

// Files the user names for reading. Anything that is not a regular file is refused before it is
// opened: opening a FIFO waits for a writer that may never come, and a device never ends. What
// is read is bounded, so a file that grows meanwhile cannot take the memory.
class InputFile {
public:
    // False (the reason in *error) when path names something that is not a regular file (links
    // followed); a missing file passes, for the open to report.
    static bool check(const QString& path, QString* error);
    // The whole file; refused when it is not a regular file, cannot be read or holds more than
    // maxBytes.
    static bool read(const QString& path, qint64 maxBytes, QByteArray* data, QString* error);
};

}  // namespace kx
