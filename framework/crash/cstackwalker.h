#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define KX_CRASH_PRINTF(formatIndex, firstIndex) __attribute__((format(printf, formatIndex, firstIndex)))
#else
#define KX_CRASH_PRINTF(formatIndex, firstIndex)
#endif

namespace kx {

// Walks and symbolises the call stack of a crashed thread and writes one line per frame:
// "<address>:<function> [<source file>][<line>]". The symbol machinery is set up on the
// first walk, inside the crash, so a healthy process never pays for it.
class CStackWalker {
public:
    CStackWalker();
    virtual ~CStackWalker();

    // A printf-style report line, cut at 1024 bytes; a trailing line end is implied.
    virtual void outputString(const char* format, ...) KX_CRASH_PRINTF(2, 3);
    // The frames of the stack described by context, starting at the faulting instruction.
    virtual void showCallstack(void* context, void* faultAddress);

protected:
    bool m_symbolsReady = false;
};

}  // namespace kx
