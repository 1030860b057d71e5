#include "framework/data/dataobject.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

// Console output would cost more than the imports; the log file still gets every line.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

// The first byte picks the import flags; the rest is the XML text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t flags = data[0];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), int(size - 1));

    kx::DataObject target(QStringLiteral("t"));
    target.set(nullptr, QStringLiteral("config.scale"), 100, true);
    target.set(nullptr, QStringLiteral("list.#1"), 1, true);
    target.importFromXmlStr(nullptr, text, flags & 1, flags & 2, flags & 4);

    // What was imported must export to XML that imports again.
    kx::DataObject copy(QStringLiteral("c"));
    copy.importFromXmlStr(nullptr, target.exportToXmlStr(flags & 8 ? 4 : 0, flags & 16), true, true, true);
    return 0;
}
