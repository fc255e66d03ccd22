#include <windows.h>

#include "platform/shared_library.h"

namespace units {
namespace platform {

namespace {

std::string SystemMessage(DWORD code) {
  char text[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                 sizeof(text), nullptr);
  std::string message = n > 0 ? std::string(text, n) : "error " + std::to_string(code);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  return message;
}

}  // namespace

void* OpenSharedLibrary(const std::string& path, std::string* error) {
  // Windows binds every import at load time, so a plugin with a missing
  // symbol fails here as with RTLD_NOW.
  HMODULE library = LoadLibraryA(path.c_str());
  if (library == nullptr && error != nullptr) *error = path + ": " + SystemMessage(GetLastError());
  return reinterpret_cast<void*>(library);
}

void* FindSymbol(void* library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace platform
}  // namespace units
