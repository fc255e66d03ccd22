#include "model/text_codec.h"

#include <cstdint>

namespace units {

namespace {

// Characters of the bytes 0x80..0x9F; the rest of the upper half is Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t Cp1252Character(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    // Windows-1252 reaches no further than U+2122.
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Decodes one character at `*pos` and advances past it. False on any
// malformed sequence.
bool NextCharacter(const std::string& text, size_t* pos, char32_t* c) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(*pos);
  size_t length;
  char32_t minimum;
  if (lead < 0x80) {
    *c = lead;
    ++*pos;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, *c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, *c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, *c = lead & 0x07;
  } else {
    return false;
  }
  if (text.size() - *pos < length) return false;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(*pos + i) & 0xC0) != 0x80) return false;
    *c = (*c << 6) | (byte(*pos + i) & 0x3F);
  }
  if (*c < minimum || *c > 0x10FFFF || (*c >= 0xD800 && *c <= 0xDFFF)) return false;
  *pos += length;
  return true;
}

}  // namespace

bool IsValidUtf8(const std::string& bytes) {
  size_t pos = 0;
  char32_t c;
  while (pos < bytes.size()) {
    if (!NextCharacter(bytes, &pos, &c)) return false;
  }
  return true;
}

std::string Cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  for (char b : bytes) AppendUtf8(Cp1252Character(static_cast<unsigned char>(b)), &out);
  return out;
}

bool Utf8ToCp1252(const std::string& utf8, std::string* bytes) {
  bytes->clear();
  size_t pos = 0;
  char32_t c;
  while (pos < utf8.size()) {
    if (!NextCharacter(utf8, &pos, &c)) return false;
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      bytes->push_back(static_cast<char>(c));
      continue;
    }
    int found = -1;
    for (int i = 0; i < 32; ++i) {
      if (kHighControls[i] == c) found = i;
    }
    if (found < 0) return false;
    bytes->push_back(static_cast<char>(0x80 + found));
  }
  return true;
}

}  // namespace units
