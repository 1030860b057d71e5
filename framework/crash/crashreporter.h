#pragma once

#include <cstdint>

namespace kx {

// What the platform layer learned about one fatal fault, in the exception-code numbering
// of the report (a POSIX signal is mapped onto the nearest code).
struct CrashRecord {
    unsigned code = 0;
    // The text after the code when the code has no line of its own (a signal's description).
    const char* description = nullptr;
    void* faultAddress = nullptr;  // the instruction that faulted
    void* dataAddress = nullptr;   // the memory it touched, when known
    void* context = nullptr;       // the platform's register context of the faulting thread
    int signal = 0;                // 0 where the platform has no signals
};

// The process-wide crash reporter: on a fatal fault of any thread it writes the exception
// report and call stack to the console and the log, saves every top-level node of the data
// tree to "./crash/<node>.icex" and then lets the platform end the process as it would
// have without it (on Linux: death by the original signal, so core dumps still happen).
class CrashReporter {
public:
    // Installs the handlers; later calls do nothing. kx::setup() calls it.
    static void install();
    static bool isInstalled();
    // Gives the calling thread its own alternate signal stack, so that a stack overflow of that
    // thread is reported too; install() does it for the thread that calls it.
    static void prepareThread();
    // The time the report and the tree dump may take before the process is ended anyway.
    static void setDumpTimeLimit(int seconds);
    static int dumpTimeLimit();

    // The code's line without the line end, e.g. "INT_DIVIDE_BY_ZERO(<description>)", or null
    // when the code has no line of its own.
    static const char* codeLine(unsigned code);
    // Writes each top-level node of the data tree to "./crash/<name>.icex". Not safe in a
    // signal handler: the platform layer calls it last, under the time limit.
    static void dumpTree();
    // The report text (code line, fault address, call stack) for a record.
    static void report(const CrashRecord& record);
};

}  // namespace kx
