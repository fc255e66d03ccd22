// The exported functions: a thin C layer over one Translator. Nothing may
// throw across it; on any failure the answer is that of an untranslated
// system: the text itself, or "xxxxx" for a device key.
#include <cstdlib>
#include <mutex>

#include "language.h"
#include "language/service_platform.h"
#include "language/translator.h"

namespace {

using units::language::Translator;

// Made at the first call, when the module's path is known, and never
// destroyed: hosts may still ask for texts from their own exit handlers.
Translator& Service() {
  static Translator* const translator =
      new Translator(units::language::ModuleFolder() + "Units/locale/", [](const char* name) { return std::getenv(name); },
                     units::language::DebugLine);
  return *translator;
}

// The interface is for one thread, but a stray second thread must not
// corrupt the tables.
std::mutex& ServiceLock() {
  static std::mutex* const lock = new std::mutex;
  return *lock;
}

}  // namespace

extern "C" LANGUAGE_API const char* LANGUAGE_CALL LangGetText(const char* text, int selector) {
  if (text == nullptr) return "";
  try {
    const std::lock_guard<std::mutex> hold(ServiceLock());
    return Service().Get(text, selector);
  } catch (...) {
    return units::language::IsDeviceKey(text) ? LANG_NO_DEVICE_NAME : text;
  }
}

extern "C" LANGUAGE_API void LANGUAGE_CALL LangSetText(const char* key, const char* text) {
  if (key == nullptr) return;
  try {
    const std::lock_guard<std::mutex> hold(ServiceLock());
    Service().Set(key, text);
  } catch (...) {
    // Out of memory: the override is not registered; nothing else changed.
  }
}
