#include "service/text_buffers.h"

#include <new>

#include "model/quantity.h"
#include "platform/reader_sections.h"

namespace units {

namespace {

struct ThreadTexts {
  char composed[2][kTextRing][kComposedTextSize];  // names, symbols
  char units[3][kTextRing][kUnitPartSize];         // unit text, base unit text, unit part
  int next[static_cast<int>(TextKind::kCount)];
  char prefix[kUnitPartSize];
  char suffix[kUnitPartSize];
};

// Not thread_local storage of its own: a shared library whose thread-local
// block is large cannot be loaded by dlopen once the static TLS reserve is
// used up.
ThreadTexts* Texts() {
  platform::ReaderSlot* slot = platform::CurrentReaderSlot();
  if (slot == nullptr) return nullptr;
  if (slot->thread_data == nullptr) slot->thread_data = new (std::nothrow) ThreadTexts();
  return static_cast<ThreadTexts*>(slot->thread_data);
}

size_t BufferSize(TextKind kind) {
  return kind == TextKind::kName || kind == TextKind::kSymbol ? kComposedTextSize : kUnitPartSize;
}

}  // namespace

char* NextTextBuffer(TextKind kind) {
  ThreadTexts* texts = Texts();
  if (texts == nullptr) return nullptr;
  const int k = static_cast<int>(kind);
  const int slot = texts->next[k];
  texts->next[k] = (slot + 1) % kTextRing;
  char* buffer = k < 2 ? texts->composed[k][slot] : texts->units[k - 2][slot];
  buffer[0] = '\0';
  return buffer;
}

const char* KeepText(TextKind kind, const char* text) {
  char* buffer = NextTextBuffer(kind);
  if (buffer == nullptr) return kUnknownText;
  CopyText(buffer, BufferSize(kind), text);
  return buffer;
}

char* FormatPrefixBuffer() {
  ThreadTexts* texts = Texts();
  return texts == nullptr ? nullptr : texts->prefix;
}

char* FormatSuffixBuffer() {
  ThreadTexts* texts = Texts();
  return texts == nullptr ? nullptr : texts->suffix;
}

}  // namespace units
