#include "framework/crash/cstackwalker.h"

#include <backward.hpp>

#include <cstdint>
#include <string>

namespace kx {

void CStackWalker::showCallstack(void* context, void* faultAddress) {
    outputString("Show CallStack:\n");
    backward::StackTrace trace;
    // Unwinds through the signal frame and drops the handler's own frames, so the first frame
    // is the faulting function.
    trace.load_from(faultAddress, 64, context);
    backward::TraceResolver resolver;
    resolver.load_stacktrace(trace);
    m_symbolsReady = true;
    for (std::size_t i = 0; i < trace.size(); ++i) {
        // The unwinder marks the outermost frame with an impossible address.
        const auto address = reinterpret_cast<std::uintptr_t>(trace[i].addr);
        if (address == 0 || address == ~std::uintptr_t(0)) {
            continue;
        }
        const backward::ResolvedTrace frame = resolver.resolve(trace[i]);
        // The symbol table names the enclosing function; the debug information's name can be that
        // of a helper inlined at the address.
        std::string function = frame.object_function;
        if (function.empty()) {
            function = frame.source.function.empty() ? std::string("??") : frame.source.function;
        }
        // Without line information the object file stands in for the source file, line 0.
        const std::string& file =
            frame.source.filename.empty() ? frame.object_filename : frame.source.filename;
        outputString("%08llx:%s [%s][%ld]\n",
                     static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(frame.addr)),
                     function.c_str(), file.c_str(), static_cast<long>(frame.source.line));
    }
}

}  // namespace kx
