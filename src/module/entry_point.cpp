// The shared library's load and unload hooks. Only the shared library holds
// this file, so test programs that link the internals start unattached.
#include "module/startup.h"

namespace {

__attribute__((constructor)) void AttachOnLoad() noexcept {
  try {
    units::ProcessAttach();
  } catch (...) {
    // A host must never die from loading the library; it then starts empty.
  }
}

__attribute__((destructor)) void DetachOnUnload() noexcept {
  try {
    units::ProcessDetach();
  } catch (...) {
  }
}

}  // namespace
