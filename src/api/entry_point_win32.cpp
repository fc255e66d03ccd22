// The DLL's load and unload hooks, the Windows form of entry_point.cpp. Only
// the shared library holds this file, so test programs that link the
// internals start unattached. Written with plain types, so that windows.h
// stays in the platform layer: BOOL is int, HINSTANCE and LPVOID pointers,
// DWORD unsigned long, and the two reasons have these values for good.
#include "platform/paths.h"
#include "service/service.h"

namespace {
constexpr unsigned long DLL_PROCESS_DETACH = 0;
constexpr unsigned long DLL_PROCESS_ATTACH = 1;
}  // namespace

extern "C" int __stdcall DllMain(void*, unsigned long reason, void* reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      try {
        units::TheService().Attach(units::platform::LibraryFolder());
      } catch (...) {
        // A host must never die from loading the library; it then starts inert.
      }
      break;
    case DLL_PROCESS_DETACH:
      // Only on FreeLibrary. At process exit (`reserved` set) Windows has
      // already killed the other threads, possibly inside a read section or
      // holding the writer lock, and detaching would wait for them for ever;
      // the system reclaims everything anyway.
      if (reserved == nullptr) units::TheService().Detach();
      break;
    default:
      break;
  }
  return 1;  // TRUE
}
