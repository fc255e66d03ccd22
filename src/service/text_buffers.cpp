#include "service/text_buffers.h"

namespace units {

namespace {

struct ThreadTexts {
  char composed[2][kTextRing][kComposedTextSize];  // names, symbols
  char units[3][kTextRing][kUnitPartSize];         // unit text, base unit text, unit part
  int next[static_cast<int>(TextKind::kCount)];
  char prefix[kUnitPartSize];
  char suffix[kUnitPartSize];
};

// Plain data with zero start values: no constructor or destructor runs per
// thread.
thread_local ThreadTexts t_texts;

size_t BufferSize(TextKind kind) {
  return kind == TextKind::kName || kind == TextKind::kSymbol ? kComposedTextSize : kUnitPartSize;
}

}  // namespace

char* NextTextBuffer(TextKind kind) {
  const int k = static_cast<int>(kind);
  const int slot = t_texts.next[k];
  t_texts.next[k] = (slot + 1) % kTextRing;
  char* buffer = k < 2 ? t_texts.composed[k][slot] : t_texts.units[k - 2][slot];
  buffer[0] = '\0';
  return buffer;
}

const char* KeepText(TextKind kind, const char* text) {
  char* buffer = NextTextBuffer(kind);
  CopyText(buffer, BufferSize(kind), text);
  return buffer;
}

char* FormatPrefixBuffer() { return t_texts.prefix; }
char* FormatSuffixBuffer() { return t_texts.suffix; }

}  // namespace units
