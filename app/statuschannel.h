#pragma once

#include "link/statussink.h"

// The window's status channel: the link's lines go to "wnd.status.msg", which the status bar
// shows for a few seconds and the panel's Log tab keeps.
class StatusChannel : public StatusSink {
public:
    void statusLine(const QString& line, bool error) override;
};
