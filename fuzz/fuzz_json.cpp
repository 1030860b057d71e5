#include "framework/data/dataobject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

// Console output would cost more than the imports; the log file still gets every line.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

// The first byte picks the import flags; the rest is the JSON text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t flags = data[0];
    const QByteArray text(reinterpret_cast<const char*>(data + 1), int(size - 1));
    const QJsonDocument document = QJsonDocument::fromJson(text);
    const QJsonValue value =
        document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());

    kx::DataObject target(QStringLiteral("t"));
    target.set(nullptr, QStringLiteral("config.scale"), 100, true);
    target.set(nullptr, QStringLiteral("list.#1"), 1, true);
    target.importFromJson(nullptr, value, flags & 1, flags & 2, flags & 4);
    target.importFromVariant(nullptr, value.toVariant(), flags & 8, flags & 16, flags & 32);
    target.exportToJson(flags & 64);
    target.exportToBin(false);
    return 0;
}
