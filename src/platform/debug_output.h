// The debugger output channel: one line per message, to the file named by
// UNITS_DEBUG_LOG, or to stderr when it says "stderr"; nothing when unset.
#ifndef UNITS_PLATFORM_DEBUG_OUTPUT_H_
#define UNITS_PLATFORM_DEBUG_OUTPUT_H_

#include <string>

namespace units {
namespace platform {

void DebugOutput(const char* line);
inline void DebugOutput(const std::string& line) { DebugOutput(line.c_str()); }

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_DEBUG_OUTPUT_H_
