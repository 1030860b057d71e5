#include "workbench/device/firmwareversion.h"

#include "framework/data/dataobject.h"
#include "link/linkwait.h"
#include "link/motionguard.h"
#include "link/otathread.h"
#include "link/param/paramstore.h"
#include "link/param/paramwalker.h"

namespace {

const QString kEntryName = QStringLiteral("AppCodeVersion");

}  // namespace

int FirmwareVersion::entryCode(kx::DataObject* device) {
    const ParamStore* store = ParamStore::forLink(otaThread::instance());
    if (!store || !device || device->isEmpty())
        return -1;
    for (const ParamEntry& e : store->snapshot(MotionGuard::canIdOf(device))) {
        if (e.group == 1 && e.name == kEntryName)
            return e.code;
    }
    return -1;
}

QString FirmwareVersion::known(kx::DataObject* device) {
    const ParamStore* store = ParamStore::forLink(otaThread::instance());
    const int code = entryCode(device);
    ParamEntry e;
    if (code < 0 || !store->entry(MotionGuard::canIdOf(device), quint16(code), &e))
        return QString();
    return e.value.trimmed();
}

QString FirmwareVersion::read(kx::DataObject* device, int timeoutMs) {
    if (!device || device->isEmpty())
        return QString();
    ParamWalker walker(device);
    bool ended = false;
    bool ok = false;
    QObject::connect(&walker, &ParamWalker::finished, [&](bool success) {
        ended = true;
        ok = success;
    });
    const int code = entryCode(device);
    // A read of the one entry leaves the rest of the table (and its edits) alone.
    const bool started = code >= 0 ? walker.readOne(quint16(code)) : walker.describe();
    if (!started)
        return QString();
    LinkWait::Options options;
    options.device = device;
    options.timeoutMs = timeoutMs;
    LinkWait::until([&] { return ended; }, options);
    if (!ended)
        walker.stop();
    return ok ? known(device) : QString();
}
