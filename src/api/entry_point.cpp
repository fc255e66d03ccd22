// The shared library's load and unload hooks. Only the shared library holds
// this file, so test programs that link the internals start unattached.
#include "platform/paths.h"
#include "service/service.h"

namespace {

__attribute__((constructor)) void AttachOnLoad() noexcept {
  try {
    units::TheService().Attach(units::platform::LibraryFolder());
  } catch (...) {
    // A host must never die from loading the library; it then starts inert.
  }
}

__attribute__((destructor)) void DetachOnUnload() noexcept { units::TheService().Detach(); }

}  // namespace
