#include "framework/crash/crashplatform.h"

#include "framework/crash/cbaseexception.h"
#include "framework/crash/crashreporter.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace kx::crashplatform {

namespace {

const int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
// Room for symbolising the stack and writing the tree, which run on this stack too.
const std::size_t kAltStackSize = 1024 * 1024;
// A fault this close to the stack pointer is the stack running into its guard.
const std::uintptr_t kStackGuardReach = 64 * 1024;

// The thread that reports; a second fault while it is set never starts a second report.
std::atomic<pid_t> g_reporter{0};
volatile sig_atomic_t g_signal = 0;
pid_t g_mainThread = 0;
char g_mainName[17] = {};
long g_utcOffset = 0;
char g_descriptions[NSIG][64] = {};
// A thread's alternate signal stack, given back when the thread ends (threads come and go with
// every connection; a mapping left behind each time would add up).
struct AltStack {
    void* memory = nullptr;
    ~AltStack() {
        if (!memory) {
            return;
        }
        stack_t off{};
        off.ss_flags = SS_DISABLE;
        ::sigaltstack(&off, nullptr);
        ::munmap(memory, kAltStackSize);
    }
};
thread_local AltStack t_altStack;

pid_t threadId() {
    return static_cast<pid_t>(::syscall(SYS_gettid));
}

void writeAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written <= 0) {
            return;
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
}

// Signal-safe appending to a fixed buffer.
struct Text {
    char data[1400];
    std::size_t length = 0;

    void add(const char* text) {
        while (*text && length + 1 < sizeof data) {
            data[length++] = *text++;
        }
        data[length] = '\0';
    }
    void addNumber(long value, int width) {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value > 0 && count < 23);
        while (count < width && count < 23) {
            digits[count++] = '0';
        }
        while (count > 0 && length + 1 < sizeof data) {
            data[length++] = digits[--count];
        }
        data[length] = '\0';
    }
};

// Local wall-clock fields without localtime(), which may lock: the offset from UTC is taken
// when the reporter is installed.
struct Clock {
    long year, month, day, hour, minute, second, millisecond;
};

Clock now() {
    timespec moment{};
    ::clock_gettime(CLOCK_REALTIME, &moment);
    const long long seconds = static_cast<long long>(moment.tv_sec) + g_utcOffset;
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01 (proleptic Gregorian calendar).
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    Clock clock{};
    clock.day = static_cast<long>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    clock.month = static_cast<long>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    clock.year = static_cast<long>(yearOfEra + era * 400 + (clock.month <= 2 ? 1 : 0));
    clock.hour = static_cast<long>(rest / 3600);
    clock.minute = static_cast<long>(rest / 60 % 60);
    clock.second = static_cast<long>(rest % 60);
    clock.millisecond = static_cast<long>(moment.tv_nsec / 1000000);
    return clock;
}

void threadName(char* name) {
    std::memset(name, 0, 17);
    ::prctl(PR_GET_NAME, name, 0, 0, 0);
}

void die(int signal) {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

void onReportTimeout(int) {
    writeLine("crash report time limit reached", true);
    die(g_signal);
}

void* instructionAddress(const ucontext_t* context) {
#if defined(__x86_64__)
    return reinterpret_cast<void*>(context->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
    return reinterpret_cast<void*>(context->uc_mcontext.pc);
#else
    (void)context;
    return nullptr;
#endif
}

std::uintptr_t stackPointer(const ucontext_t* context) {
#if defined(__x86_64__)
    return static_cast<std::uintptr_t>(context->uc_mcontext.gregs[REG_RSP]);
#elif defined(__aarch64__)
    return static_cast<std::uintptr_t>(context->uc_mcontext.sp);
#else
    (void)context;
    return 0;
#endif
}

// The processor's own code for each arithmetic fault; a plain constant table, safe in a handler.
unsigned fpeCode(int siCode) {
    struct FpeCode {
        int siCode;
        unsigned code;
    };
    static constexpr FpeCode kCodes[] = {
        {FPE_INTDIV, 0xC0000094u}, {FPE_INTOVF, 0xC0000095u}, {FPE_FLTDIV, 0xC000008Eu},
        {FPE_FLTOVF, 0xC0000091u}, {FPE_FLTUND, 0xC0000093u}, {FPE_FLTRES, 0xC000008Fu},
        {FPE_FLTSUB, 0xC000008Cu},
    };
    for (const FpeCode& entry : kCodes) {
        if (entry.siCode == siCode) {
            return entry.code;
        }
    }
    return 0xC0000090u;
}

CrashRecord recordOf(int signal, const siginfo_t* info, void* context) {
    const auto* user = static_cast<const ucontext_t*>(context);
    CrashRecord record;
    record.signal = signal;
    record.context = context;
    record.dataAddress = info->si_addr;
    record.faultAddress = user ? instructionAddress(user) : nullptr;
    if (!record.faultAddress) {
        record.faultAddress = info->si_addr;
    }
    // A signal sent by another process (or by raise) is no processor fault: it has no code of its own.
    const int kind = info->si_code <= 0 ? 0 : signal;
    switch (kind) {
        case SIGSEGV: {
            const auto data = reinterpret_cast<std::uintptr_t>(info->si_addr);
            const std::uintptr_t sp = user ? stackPointer(user) : 0;
            const bool nearStack = sp && data + kStackGuardReach >= sp && data <= sp + kStackGuardReach;
            record.code = nearStack ? 0xC00000FDu : 0xC0000005u;
            break;
        }
        case SIGFPE:
            record.code = fpeCode(info->si_code);
            break;
        case SIGILL:
            record.code = info->si_code == ILL_PRVOPC ? 0xC0000096u : 0xC000001Du;
            break;
        case SIGBUS:
            record.code = info->si_code == BUS_ADRALN ? 0x80000002u : 0xC0000006u;
            break;
        default:
            // No code of its own: the signal number, described by the system's own text.
            record.code = static_cast<unsigned>(signal);
            record.description = g_descriptions[signal];
            break;
    }
    return record;
}

void onFatalSignal(int signal, siginfo_t* info, void* context) {
    const pid_t self = threadId();
    pid_t reporter = 0;
    if (!g_reporter.compare_exchange_strong(reporter, self)) {
        if (reporter == self) {
            // A fault inside our own report (the tree dump is not signal-safe): end at once,
            // with the signal that started it.
            die(g_signal);
        }
        // Another thread is reporting and will end the process; its time limit bounds this wait.
        for (;;) {
            ::pause();
        }
    }
    g_signal = signal;

    struct sigaction timeout {};
    timeout.sa_handler = &onReportTimeout;
    sigemptyset(&timeout.sa_mask);
    ::sigaction(SIGALRM, &timeout, nullptr);
    sigset_t alarmSet;
    sigemptyset(&alarmSet);
    sigaddset(&alarmSet, SIGALRM);
    ::pthread_sigmask(SIG_UNBLOCK, &alarmSet, nullptr);
    ::alarm(static_cast<unsigned>(CrashReporter::dumpTimeLimit()));

    char name[17];
    threadName(name);
    char line[256];
    std::snprintf(line, sizeof line, "crash thread: %d (%s), main thread: %d (%s)", static_cast<int>(self),
                  name, static_cast<int>(g_mainThread), g_mainName);
    writeLine(line, true);

    // The text comes first; symbolising and the tree dump may not finish, the timer ends them.
    CrashReporter::report(recordOf(signal, info, context));
    CrashReporter::dumpTree();
    die(signal);
}

int collectModule(dl_phdr_info* info, std::size_t, void* data) {
    auto* exception = static_cast<CBaseException*>(data);
    std::size_t size = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type == PT_LOAD) {
            size = std::max<std::size_t>(size, info->dlpi_phdr[i].p_vaddr + info->dlpi_phdr[i].p_memsz);
        }
    }
    const char* path = info->dlpi_name && *info->dlpi_name ? info->dlpi_name : "";
    const char* slash = std::strrchr(path, '/');
    exception->outputString("%08llx\t%zu\t%s\t%s\t%s\t%s\n", static_cast<unsigned long long>(info->dlpi_addr),
                            size, slash ? slash + 1 : path, path, path, "0.0.0.0");
    return 0;
}

}  // namespace

void prepareThread() {
    if (t_altStack.memory) {
        return;
    }
    void* memory = ::mmap(nullptr, kAltStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        return;
    }
    stack_t stack{};
    stack.ss_sp = memory;
    stack.ss_size = kAltStackSize;
    if (::sigaltstack(&stack, nullptr) != 0) {
        ::munmap(memory, kAltStackSize);
        return;
    }
    t_altStack.memory = memory;
}

void installHandlers() {
    g_mainThread = threadId();
    threadName(g_mainName);
    const time_t seconds = ::time(nullptr);
    struct tm local {};
    if (::localtime_r(&seconds, &local)) {
        g_utcOffset = local.tm_gmtoff;
    }
    for (int signal : kFatalSignals) {
        // strsignal() is not signal-safe; its text is taken now.
        std::snprintf(g_descriptions[signal], sizeof g_descriptions[signal], "%s", ::strsignal(signal));
    }
    prepareThread();
    for (int signal : kFatalSignals) {
        struct sigaction action {};
        action.sa_sigaction = &onFatalSignal;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

void writeLine(const char* text, bool error) {
    const Clock clock = now();
    Text tag;
    tag.add(error ? "[E|" : "[S|");
    tag.addNumber(clock.month, 2);
    tag.add("/");
    tag.addNumber(clock.day, 2);
    tag.add(" ");
    tag.addNumber(clock.hour, 2);
    tag.add(":");
    tag.addNumber(clock.minute, 2);
    tag.add(":");
    tag.addNumber(clock.second, 2);
    tag.add(".");
    tag.addNumber(clock.millisecond, 3);
    tag.add("]");

    Text console;
    if (error) {
        console.add("\33[31m");
        console.add(tag.data);
        console.add(text);
        console.add("\33[0m\n");
        writeAll(STDERR_FILENO, console.data, console.length);
    } else {
        console.add(text);
        console.add("\n");
        writeAll(STDOUT_FILENO, console.data, console.length);
    }

    Text path;
    path.add("./log/global_");
    path.addNumber(clock.year, 4);
    path.addNumber(clock.month, 2);
    path.addNumber(clock.day, 2);
    path.add(".log");
    ::mkdir("./log", 0755);
    const int fd = ::open(path.data, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    Text entry;
    entry.add(tag.data);
    entry.add(text);
    entry.add("\n");
    writeAll(fd, entry.data, entry.length);
    ::close(fd);
}

bool logicalAddress(const void* address, char* module, std::size_t size, unsigned* segment,
                    std::uintptr_t* offset) {
    Dl_info info{};
    if (!address || ::dladdr(address, &info) == 0 || !info.dli_fbase) {
        return false;
    }
    std::snprintf(module, size, "%s", info.dli_fname ? info.dli_fname : "");
    const auto base = reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    const auto target = reinterpret_cast<std::uintptr_t>(address);
    *segment = 0;
    *offset = target - base;
    // The module's own ELF header is mapped at its base; its loadable segments play the part
    // of sections. A segment spans the larger of its memory and file sizes.
    const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(base);
    if (std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0) {
        return true;
    }
    const auto* programs = reinterpret_cast<const ElfW(Phdr)*>(base + header->e_phoff);
    std::uintptr_t lowest = ~std::uintptr_t(0);
    for (int i = 0; i < header->e_phnum; ++i) {
        if (programs[i].p_type == PT_LOAD) {
            lowest = std::min<std::uintptr_t>(lowest,
                                              programs[i].p_vaddr & ~std::uintptr_t(programs[i].p_align - 1));
        }
    }
    if (lowest == ~std::uintptr_t(0)) {
        return true;
    }
    const std::uintptr_t relative = target - (base - lowest);
    unsigned number = 0;
    for (int i = 0; i < header->e_phnum; ++i) {
        if (programs[i].p_type != PT_LOAD) {
            continue;
        }
        ++number;
        const std::uintptr_t start = programs[i].p_vaddr;
        const std::uintptr_t length = std::max(programs[i].p_memsz, programs[i].p_filesz);
        if (relative >= start && relative < start + length) {
            *segment = number;
            *offset = relative - start;
            break;
        }
    }
    return true;
}

void listModules(CBaseException* exception) {
    exception->outputString("Current User:%s\n", "");
    exception->outputString("BaseAddress:\tSize:\tName\tPath\tSymbolPath\tVersion\n");
    ::dl_iterate_phdr(&collectModule, exception);
}

}  // namespace kx::crashplatform
