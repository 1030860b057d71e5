#pragma once

#include <QString>

// Where the link's status lines go ("Detected device: ...", "<ERROR> Set MOTOR mode failed!").
// The link posts them through Helper::postStatus, which writes every line to the dated log
// file and hands it to the installed sink: the window's status bar and Log tab, or the
// command line's stderr. Without a sink the lines go to the data tree's "wnd.status.msg".
// Called on the Helper's (GUI) thread only: lines from other threads are queued there first.
class StatusSink {
public:
    virtual ~StatusSink() = default;

    // line: the whole line as shown, "<TAG> text" for tagged lines; error: tagged "ERROR".
    virtual void statusLine(const QString& line, bool error) = 0;
};
