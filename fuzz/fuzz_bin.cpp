#include "framework/data/binform.h"
#include "framework/data/dataobject.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

// Console output would cost more than the imports; the log file still gets every line.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

// The first byte picks the import flags; the rest is a binary record, or with flag 128 a
// compressed record as a binary file holds it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t flags = data[0];
    QByteArray record(reinterpret_cast<const char*>(data + 1), int(size - 1));
    if (flags & 128) {
        record = kx::BinForm::uncompress(record);
    }

    kx::DataObject target(QStringLiteral("t"));
    target.set(nullptr, QStringLiteral("config.scale"), 100, true);
    target.set(nullptr, QStringLiteral("list.#1"), 1, true);
    target.importFromBin(nullptr, record, flags & 1, flags & 2, flags & 4);
    target.exportToBin(flags & 8);
    target.exportToXmlStr(0, false);
    return 0;
}
