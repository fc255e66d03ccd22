// The exported functions: a thin C layer over one Translator. Nothing may
// throw across it; on any failure the answer is that of an untranslated
// system: the text itself, or "xxxxx" for a device key.
#include <cstdlib>
#include <mutex>
#include <string>

#include "language.h"
#include "language/translator.h"
#include "platform/debug_output.h"
#include "platform/paths.h"

namespace {

using units::language::Translator;

// Made at the first call, when the module's path is known, and never
// destroyed: hosts may still ask for texts from their own exit handlers.
Translator& Service() {
  static Translator* const translator =
      new Translator(units::platform::DataFolderOf(units::platform::LibraryFolder()) + "locale/",
                     [](const char* name) { return std::getenv(name); },
                     [](const std::string& line) { units::platform::DebugOutput(line); });
  return *translator;
}

// Callers on several threads share the tables.
std::mutex& ServiceLock() {
  static std::mutex* const lock = new std::mutex;
  return *lock;
}

// A translation is copied for the calling thread while the lock is held: the
// tables' own text may be replaced by another thread (a language change, an
// override) as soon as the lock is released.
thread_local std::string t_answer;

}  // namespace

extern "C" LANGUAGE_API const char* LANGUAGE_CALL LangGetText(const char* text, int selector) {
  if (text == nullptr) return "";
  try {
    const std::lock_guard<std::mutex> hold(ServiceLock());
    const char* answer = Service().Get(text, selector);
    if (answer == text) return text;
    t_answer.assign(answer);
    return t_answer.c_str();
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
