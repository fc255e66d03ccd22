// Builds gettext .mo files in memory, in either byte order, laid out as
// msgfmt lays them out: header, original table, translation table, no hash
// table, then every string followed by a NUL.
#ifndef UNITS_TESTS_LANGUAGE_MO_BUILDER_H_
#define UNITS_TESTS_LANGUAGE_MO_BUILDER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace units {
namespace testing {

struct MoMessage {
  std::string id;   // may hold a NUL (plural) or a 0x04 (context)
  std::string str;  // may hold NULs between plural forms
};

// Where the header puts the two tables in a file made by BuildMo.
constexpr size_t kMoOriginalTable = 28;
inline size_t MoTranslationTable(size_t count) { return kMoOriginalTable + 8 * count; }

inline void PutMoWord(std::string* bytes, size_t offset, uint32_t value, bool big_endian) {
  for (int i = 0; i < 4; ++i) {
    const int shift = big_endian ? 24 - 8 * i : 8 * i;
    (*bytes)[offset + i] = static_cast<char>((value >> shift) & 0xFF);
  }
}

inline std::string BuildMo(const std::vector<MoMessage>& messages, bool big_endian = false) {
  const size_t count = messages.size();
  const size_t strings_start = MoTranslationTable(count) + 8 * count;
  std::string bytes(strings_start, '\0');
  const uint32_t header[7] = {0x950412de,
                              0,
                              static_cast<uint32_t>(count),
                              static_cast<uint32_t>(kMoOriginalTable),
                              static_cast<uint32_t>(MoTranslationTable(count)),
                              0,
                              static_cast<uint32_t>(strings_start)};
  for (size_t i = 0; i < 7; ++i) PutMoWord(&bytes, 4 * i, header[i], big_endian);
  auto append = [&](size_t descriptor, const std::string& text) {
    PutMoWord(&bytes, descriptor, static_cast<uint32_t>(text.size()), big_endian);
    PutMoWord(&bytes, descriptor + 4, static_cast<uint32_t>(bytes.size()), big_endian);
    bytes += text;
    bytes += '\0';
  };
  for (size_t i = 0; i < count; ++i) append(kMoOriginalTable + 8 * i, messages[i].id);
  for (size_t i = 0; i < count; ++i) append(MoTranslationTable(count) + 8 * i, messages[i].str);
  return bytes;
}

inline std::vector<char> MoBytes(const std::string& bytes) { return std::vector<char>(bytes.begin(), bytes.end()); }

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_LANGUAGE_MO_BUILDER_H_
