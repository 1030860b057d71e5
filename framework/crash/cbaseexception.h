#pragma once

#include "framework/crash/crashreporter.h"
#include "framework/crash/cstackwalker.h"

#include <cstddef>
#include <cstdint>

namespace kx {

// Formats the report of one fatal fault: the code line, the module and segment of the faulting
// instruction, and the call stack.
class CBaseException : public CStackWalker {
public:
    explicit CBaseException(const CrashRecord& record);

    // The loaded modules, one line each; not part of the crash report itself.
    virtual void showLoadModules();
    void showCallstack(void* context, void* faultAddress) override;
    virtual void showExceptionCode();
    virtual bool getLogicalAddress(const void* address, char* module, std::size_t size, unsigned* segment,
                                   std::uintptr_t* offset);
    // Register state: only a separating blank line.
    virtual void showRegistorInformation();
    // Code, fault address, registers and call stack, in that order.
    virtual void showExceptionInformation();

private:
    CrashRecord m_record;
};

}  // namespace kx
