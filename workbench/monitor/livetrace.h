#pragma once

class TraceRecorder;
class TraceStore;

// The workbench's trace of the bus: recorded from start-up on, so a monitor page opened after
// something went wrong still shows what led to it. Sized by "config.setting.monitor_trace_records"
// (default 1,000,000 records), read once.
class LiveTrace {
public:
    static LiveTrace& instance();
    // Starts recording (idempotent).
    void start();

    TraceStore* store() const { return m_store; }
    TraceRecorder* recorder() const { return m_recorder; }

private:
    LiveTrace();
    ~LiveTrace();

    TraceStore* m_store;
    TraceRecorder* m_recorder;
};
