#include "framework/crash/crashplatform.h"

#include "framework/crash/cbaseexception.h"
#include "framework/crash/crashreporter.h"
#include "framework/log/logclock.h"
#include "framework/log/qflog.h"

#include <QCoreApplication>
#include <QString>
#include <QTextCodec>
#include <QThread>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace kx::crashplatform {

namespace {

std::atomic<DWORD> g_reporter{0};
char g_systemText[513] = {};

// Ends the process when the report or the tree dump takes too long.
VOID CALLBACK onReportTimeout(PVOID code, BOOLEAN) {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(reinterpret_cast<UINT_PTR>(code)));
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* pointers) {
    const DWORD self = GetCurrentThreadId();
    DWORD reporter = 0;
    if (!g_reporter.compare_exchange_strong(reporter, self)) {
        if (reporter == self) {
            // A fault inside our own report: the default handling ends the process.
            return EXCEPTION_CONTINUE_SEARCH;
        }
        // Another thread is reporting; its time limit ends the process.
        for (;;) {
            Sleep(INFINITE);
        }
    }
    const DWORD code = pointers->ExceptionRecord->ExceptionCode;
    HANDLE timer = nullptr;
    CreateTimerQueueTimer(&timer, nullptr, &onReportTimeout,
                          reinterpret_cast<PVOID>(static_cast<UINT_PTR>(code)),
                          static_cast<DWORD>(CrashReporter::dumpTimeLimit()) * 1000, 0, WT_EXECUTEONLYONCE);

    logE() << "crash thread: " << static_cast<const void*>(QThread::currentThread()) << ", main thread: "
           << static_cast<const void*>(QCoreApplication::instance() ? QCoreApplication::instance()->thread()
                                                                    : nullptr);
    CrashRecord record;
    record.code = code;
    record.faultAddress = pointers->ExceptionRecord->ExceptionAddress;
    record.context = pointers->ContextRecord;
    if (!CrashReporter::codeLine(code)) {
        FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                       GetModuleHandleA("NTDLL.DLL"), code, 0, g_systemText, 512, nullptr);
        record.description = g_systemText;
    }
    CrashReporter::report(record);
    CrashReporter::dumpTree();
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void installHandlers() {
    prepareThread();
    SetUnhandledExceptionFilter(&onUnhandledException);
}

void prepareThread() {
    // Stack kept back for the filter when the thread's stack overflows.
    ULONG reserve = 64 * 1024;
    SetThreadStackGuarantee(&reserve);
}

void writeLine(const char* text, bool error) {
    const QString line = QString::fromUtf8(text);
    if (error) {
        logE() << line;
        return;
    }
    // The console of this platform reads GBK; the log file takes the line as the logs do.
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    const QByteArray console = codec ? codec->fromUnicode(line) : line.toLocal8Bit();
    std::fwrite(console.constData(), 1, static_cast<std::size_t>(console.size()), stdout);
    std::fwrite("\r\n", 1, 2, stdout);
    std::fflush(stdout);
    FLog(QStringLiteral("[S|%1]").arg(LogClock::format(QStringLiteral("MM/dd hh:mm:ss.zzz"))), QString(),
         QStringLiteral("./log/global"), QStringLiteral("log"))
        << line;
}

bool logicalAddress(const void* address, char* module, std::size_t size, unsigned* segment,
                    std::uintptr_t* offset) {
    MEMORY_BASIC_INFORMATION memory{};
    if (!VirtualQuery(address, &memory, sizeof memory) || !memory.AllocationBase) {
        return false;
    }
    auto moduleHandle = static_cast<HMODULE>(memory.AllocationBase);
    if (!GetModuleFileNameA(moduleHandle, module,
                            static_cast<DWORD>(std::min<std::size_t>(size, MAX_PATH)))) {
        return false;
    }
    const auto base = reinterpret_cast<std::uintptr_t>(memory.AllocationBase);
    const std::uintptr_t relative = reinterpret_cast<std::uintptr_t>(address) - base;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    *segment = 0;
    *offset = relative;
    for (unsigned i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        const std::uintptr_t start = section->VirtualAddress;
        const std::uintptr_t length =
            std::max<std::uintptr_t>(section->SizeOfRawData, section->Misc.VirtualSize);
        if (relative >= start && relative < start + length) {
            *segment = i + 1;
            *offset = relative - start;
            break;
        }
    }
    return true;
}

void listModules(CBaseException* exception) {
    exception->outputString("Current User:%s\n", "");
    exception->outputString("BaseAddress:\tSize:\tName\tPath\tSymbolPath\tVersion\n");
    HMODULE modules[1024];
    DWORD needed = 0;
    HANDLE process = GetCurrentProcess();
    if (!EnumProcessModules(process, modules, sizeof modules, &needed)) {
        return;
    }
    const DWORD count = std::min<DWORD>(needed / sizeof(HMODULE), 1024);
    for (DWORD i = 0; i < count; ++i) {
        MODULEINFO info{};
        char path[MAX_PATH] = {};
        char name[MAX_PATH] = {};
        GetModuleInformation(process, modules[i], &info, sizeof info);
        GetModuleFileNameExA(process, modules[i], path, MAX_PATH);
        GetModuleBaseNameA(process, modules[i], name, MAX_PATH);
        exception->outputString(
            "%08llx\t%lu\t%s\t%s\t%s\t%d.%d.%d.%d\n",
            static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(info.lpBaseOfDll)),
            static_cast<unsigned long>(info.SizeOfImage), name, path, path, 0, 0, 0, 0);
    }
}

}  // namespace kx::crashplatform
