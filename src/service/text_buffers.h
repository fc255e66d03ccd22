// The buffers that texts handed to hosts as `const char*` live in: one set
// per thread, so that threads never overwrite each other's results. Each
// function has a small ring of buffers, so a result stays valid while the
// same thread makes kTextRing - 1 more calls of the same function.
//
// The set is kept with the thread's reader slot (platform/reader_sections.h)
// and made on the thread's first text; call only inside a read section.
#ifndef UNITS_SERVICE_TEXT_BUFFERS_H_
#define UNITS_SERVICE_TEXT_BUFFERS_H_

#include <cstddef>
#include <string>

namespace units {

constexpr const char* kUnknownText = "(?)";
constexpr int kTextRing = 4;
// Room for a 40-byte name or 20-byte symbol, a translated device name and an
// index; longer compositions are cut at a character boundary.
constexpr size_t kComposedTextSize = 256;
// A unit text (20 bytes) and a translated word with separators.
constexpr size_t kUnitPartSize = 128;

enum class TextKind { kName, kSymbol, kUnitText, kBaseUnitText, kUnitTextEx, kCount };

// The next buffer of the ring of `kind` on this thread, emptied; null when
// the thread has no buffers (out of memory).
char* NextTextBuffer(TextKind kind);
// Copies `text` into the next buffer of `kind`, cut to fit, and returns it;
// "(?)" when the thread has no buffers.
const char* KeepText(TextKind kind, const char* text);
inline const char* KeepText(TextKind kind, const std::string& text) { return KeepText(kind, text.c_str()); }

// The prefix and suffix of UnitGetUnitTextFormat, kept until the thread's
// next call that sets them; null when the thread has no buffers.
char* FormatPrefixBuffer();
char* FormatSuffixBuffer();

}  // namespace units

#endif  // UNITS_SERVICE_TEXT_BUFFERS_H_
