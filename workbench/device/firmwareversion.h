#pragma once

#include <QString>

namespace kx {
class DataObject;
}

// The firmware version a motor reports: the read-only text entry "AppCodeVersion" of its
// parameter table, which the table's description carries and a read refreshes.
class FirmwareVersion {
public:
    // The version as the host last heard it; empty when the table was never described.
    static QString known(kx::DataObject* device);
    // Asks the motor: reads the entry again when the table is described, describes it first
    // otherwise. Waits at most timeoutMs (frames and timers run meanwhile, user input waits);
    // empty when the motor did not answer.
    static QString read(kx::DataObject* device, int timeoutMs);

    // The entry's code in the device's described table; -1 before a description.
    static int entryCode(kx::DataObject* device);
};
