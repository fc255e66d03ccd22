#include "platform/shared_library.h"

#include <dlfcn.h>

namespace units {
namespace platform {

void* OpenSharedLibrary(const std::string& path, std::string* error) {
  // RTLD_NOW: a plugin with a missing symbol fails here, not in the middle of
  // a dialog. RTLD_LOCAL: its toolkit symbols stay out of the host's scope.
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr && error != nullptr) {
    const char* reason = dlerror();
    *error = reason != nullptr ? reason : "unknown loader error";
  }
  return library;
}

void* FindSymbol(void* library, const char* name) { return library != nullptr ? dlsym(library, name) : nullptr; }

}  // namespace platform
}  // namespace units
