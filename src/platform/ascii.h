// Case-insensitive comparison of ASCII letters, as the registry and the
// configuration reader compare names. Bytes above 127 compare exactly.
#ifndef UNITS_PLATFORM_ASCII_H_
#define UNITS_PLATFORM_ASCII_H_

#include <string_view>

namespace units {

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

inline bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace units

#endif  // UNITS_PLATFORM_ASCII_H_
