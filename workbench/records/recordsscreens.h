#pragma once

// The Records page and its button on the Device tab, and the station's sender started once
// the configuration is read; "wnd.status.records_waiting" carries its count for the status bar.
void registerRecordsScreens();

namespace kx {
class DataObject;
}

// Opens the Records page on a motor's history (the record becomes the current device).
void openRecordsFor(kx::DataObject* device);
