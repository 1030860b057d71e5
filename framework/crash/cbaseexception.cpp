#include "framework/crash/cbaseexception.h"

#include "framework/crash/crashplatform.h"

namespace kx {

CBaseException::CBaseException(const CrashRecord& record) : m_record(record) {}

void CBaseException::showLoadModules() {
    crashplatform::listModules(this);
}

void CBaseException::showCallstack(void* context, void* faultAddress) {
    CStackWalker::showCallstack(context, faultAddress);
}

void CBaseException::showExceptionCode() {
    const char* line = CrashReporter::codeLine(m_record.code);
    if (!line) {
        line = m_record.description ? m_record.description : "";
    }
    outputString("Exception Code :%08x %s\n", m_record.code, line);
}

bool CBaseException::getLogicalAddress(const void* address, char* module, std::size_t size, unsigned* segment,
                                       std::uintptr_t* offset) {
    return crashplatform::logicalAddress(address, module, size, segment, offset);
}

void CBaseException::showRegistorInformation() {
    outputString("\n");
}

void CBaseException::showExceptionInformation() {
    showExceptionCode();
    char module[260] = {};
    unsigned segment = 0;
    std::uintptr_t offset = 0;
    const auto address = reinterpret_cast<std::uintptr_t>(m_record.faultAddress);
    if (getLogicalAddress(m_record.faultAddress, module, sizeof module, &segment, &offset)) {
        outputString("Fault address:  %08llX %02X:%08llX %s\n", static_cast<unsigned long long>(address),
                     segment, static_cast<unsigned long long>(offset), module);
    } else {
        outputString("Fault address:  %08llX %s\n", static_cast<unsigned long long>(address), "");
    }
    showRegistorInformation();
    showCallstack(m_record.context, m_record.faultAddress);
}

}  // namespace kx
