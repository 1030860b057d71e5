#pragma once

#include <cstddef>
#include <cstdint>

// The platform layer of the crash reporter: how fatal faults are caught, how a report line
// reaches the console and the log without allocating, and how an address maps to a module.
namespace kx {
class CBaseException;
}

namespace kx::crashplatform {

void installHandlers();
void prepareThread();

// One report line (without line end): the plain text to standard output and a tagged line to
// the log file; with error, a red "[E|...]" line to the error console instead.
void writeLine(const char* text, bool error);

// The module holding address, the number of its loaded segment (from 1) and the offset within
// that segment; false when no module holds it.
bool logicalAddress(const void* address, char* module, std::size_t size, unsigned* segment,
                    std::uintptr_t* offset);

// One line per loaded module through the exception's output.
void listModules(CBaseException* exception);

}  // namespace kx::crashplatform
