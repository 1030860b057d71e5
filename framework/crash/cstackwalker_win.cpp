#include "framework/crash/cstackwalker.h"

#include <windows.h>

#include <dbghelp.h>

#include <cstdlib>
#include <string>

namespace kx {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// Where the debug-help library looks for symbols: beside us first, then the configured
// symbol paths, the system directories and finally the public symbol server with a local cache.
std::string symbolSearchPath() {
    std::string path = ".;";
    char module[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, module, MAX_PATH) > 0) {
        std::string directory(module);
        const std::size_t slash = directory.find_last_of("\\/");
        if (slash != std::string::npos) {
            path += directory.substr(0, slash) + ";";
        }
    }
    for (const char* name : {"_NT_SYMBOL_PATH", "_NT_ALTERNATE_SYMBOL_PATH"}) {
        const std::string value = environment(name);
        if (!value.empty()) {
            path += value + ";";
        }
    }
    const std::string root = environment("SYSTEMROOT");
    if (!root.empty()) {
        path += root + ";" + root + "\\system32;";
    }
    const std::string drive = environment("SYSTEMDRIVE");
    path += "SRV*" + (drive.empty() ? std::string("c:") : drive) +
            "\\websymbols*https://msdl.microsoft.com/download/symbols;";
    return path;
}

}  // namespace

void CStackWalker::showCallstack(void* context, void* faultAddress) {
    (void)faultAddress;
    outputString("Show CallStack:\n");
    HANDLE process = GetCurrentProcess();
    HANDLE thread = GetCurrentThread();
    if (!m_symbolsReady) {
        const std::string path = symbolSearchPath();
        m_symbolsReady = SymInitialize(process, path.c_str(), TRUE) != FALSE;
        SymSetOptions(SymGetOptions() | SYMOPT_LOAD_LINES | SYMOPT_FAIL_CRITICAL_ERRORS | SYMOPT_DEBUG);
    }
    CONTEXT state{};
    if (context) {
        state = *static_cast<CONTEXT*>(context);
    } else {
        RtlCaptureContext(&state);
    }
    STACKFRAME64 frame{};
    frame.AddrPC.Offset = state.Rip;
    frame.AddrPC.Mode = AddrModeFlat;
    frame.AddrFrame.Offset = state.Rbp;
    frame.AddrFrame.Mode = AddrModeFlat;
    frame.AddrStack.Offset = state.Rsp;
    frame.AddrStack.Mode = AddrModeFlat;
    while (StackWalk64(IMAGE_FILE_MACHINE_AMD64, process, thread, &frame, &state, nullptr,
                       SymFunctionTableAccess64, SymGetModuleBase64, nullptr)) {
        const DWORD64 address = frame.AddrPC.Offset;
        if (address == 0) {
            continue;
        }
        alignas(IMAGEHLP_SYMBOL64) char storage[sizeof(IMAGEHLP_SYMBOL64) + 1024] = {};
        auto* symbol = reinterpret_cast<IMAGEHLP_SYMBOL64*>(storage);
        symbol->SizeOfStruct = sizeof(IMAGEHLP_SYMBOL64);
        symbol->MaxNameLength = 1024;
        DWORD64 symbolDisplacement = 0;
        if (!SymGetSymFromAddr64(process, address, &symbolDisplacement, symbol)) {
            outputString("Call SymGetSymFromAddr64 ,Address %08llx Error:%08lx\n",
                         static_cast<unsigned long long>(address), GetLastError());
            continue;
        }
        char name[1024] = {};
        UnDecorateSymbolName(symbol->Name, name, sizeof name, UNDNAME_COMPLETE);
        IMAGEHLP_LINE64 line{};
        line.SizeOfStruct = sizeof line;
        DWORD lineDisplacement = 0;
        if (SymGetLineFromAddr64(process, address, &lineDisplacement, &line)) {
            outputString("%08llx:%s [%s][%ld]\n", static_cast<unsigned long long>(address), name,
                         line.FileName, static_cast<long>(line.LineNumber));
        } else {
            outputString("Call SymGetLineFromAddr64 ,Address %08llx Error:%08lx\n",
                         static_cast<unsigned long long>(address), GetLastError());
        }
    }
}

}  // namespace kx
