#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "language/service_platform.h"

namespace units {
namespace language {

std::string ModuleFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModuleFolder), &info) == 0 || info.dli_fname == nullptr) return "./";
  const std::string file = info.dli_fname;
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? "./" : file.substr(0, slash + 1);
}

void DebugLine(const std::string& line) {
  const char* target = std::getenv("UNITS_DEBUG_LOG");
  if (target == nullptr || *target == '\0') return;
  if (std::strcmp(target, "stderr") == 0) {
    std::fprintf(stderr, "%s\n", line.c_str());
    return;
  }
  std::FILE* file = std::fopen(target, "a");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", line.c_str());
  std::fclose(file);
}

}  // namespace language
}  // namespace units
