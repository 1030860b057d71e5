#include "framework/crash/cstackwalker.h"

#include "framework/crash/crashplatform.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace kx {

CStackWalker::CStackWalker() = default;
CStackWalker::~CStackWalker() = default;

void CStackWalker::outputString(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    // vsnprintf with plain integer and string conversions takes no locks and allocates nothing
    // in the C libraries we build with, so the report's first lines stay signal-safe.
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    std::size_t length = std::strlen(buffer);
    while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r')) {
        buffer[--length] = '\0';
    }
    crashplatform::writeLine(buffer, false);
}

}  // namespace kx
