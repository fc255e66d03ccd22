#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/debug_output.h"
#include "platform/files.h"

namespace units {
namespace platform {

void DebugOutput(const char* line) {
  if (line == nullptr) return;
  // The debugger channel of Windows always gets the line, so a debugger or a
  // viewer of debug output shows it without any setting.
  std::string with_newline(line);
  with_newline += '\n';
  OutputDebugStringA(with_newline.c_str());
  // Read at every message so that a host or a test can redirect it at run time.
  const char* target = std::getenv("UNITS_DEBUG_LOG");
  if (target == nullptr || *target == '\0') return;
  if (std::strcmp(target, "stderr") == 0) {
    std::fprintf(stderr, "%s\n", line);
    return;
  }
  std::FILE* file = std::fopen(target, kAppendMode);
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", line);
  std::fclose(file);
}

}  // namespace platform
}  // namespace units
