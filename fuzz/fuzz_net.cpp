// libFuzzer target for the network framework's receive path: frame and package cutting with a
// small package limit, then the file package reader and the path confinement.

#include "framework/net/networkfilepackage.h"
#include "framework/net/networkpackage.h"
#include "framework/net/networkpackageparser.h"

#include <QByteArray>
#include <QDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte picks the read size, so that splits at every position are reached.
    const int piece = 1 + data[0] * 64;
    const QByteArray stream(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
    static const QString base = QDir::cleanPath(QDir::tempPath() + QStringLiteral("/fuzz_net_inbox"));

    kx::NetworkPackageParser parser(64 * 1024);
    for (int offset = 0; offset < stream.size(); offset += piece) {
        const kx::NetworkPackageParser::Result result = parser.feed(stream.mid(offset, piece));
        if (parser.packageCacheSize() > 64 * 1024 + 6 + 10240 || parser.frameCacheSize() > 10241 + piece) {
            std::abort();
        }
        for (const kx::NetworkPackageParser::Package& package : result.packages) {
            if (package.type != kx::NetworkPackage::File) {
                continue;
            }
            kx::NetworkFilePackage file;
            QString error;
            if (kx::NetworkFilePackage::parse(package.payload, &file, &error)) {
                const QString target = kx::NetworkFilePackage::confinedPath(base, file.remotePath());
                if (!target.isEmpty() && !target.startsWith(base + QLatin1Char('/'))) {
                    std::abort();
                }
                file.digestMatches();
            }
        }
    }
    parser.abandon();
    return 0;
}
