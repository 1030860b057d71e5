// libFuzzer target for the link's receive path: arbitrary serial bytes through record
// cutting, parsing and dispatch (statuses, announcements, decoded values). The first input
// byte picks the chunk size, so reads that split records anywhere are covered too.
#include <QCoreApplication>
#include <QDir>

#include <cstddef>
#include <cstdint>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "link/otathread.h"

namespace {

otaThread* link() {
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static otaThread* thread = [] {
        Helper::instance();
        // Announcements must not start model queries: only the receive path is exercised.
        kx::d().rootDobj()->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), true,
                                true);
        return new otaThread;
    }();
    return thread;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    otaThread* receiver = link();
    if (size == 0)
        return 0;
    const int chunk = 1 + data[0] % 32;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const int total = int(size - 1);
    for (int at = 0; at < total; at += chunk)
        receiver->getSerialData(QByteArray(bytes + at, qMin(chunk, total - at)));
    // Whatever arrived, the device table stays within its 14 entries.
    if (receiver->deviceCount() > otaThread::kMaxDevices)
        __builtin_trap();
    return 0;
}
