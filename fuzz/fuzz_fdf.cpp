// Decodes arbitrary bytes as an FDF file, then checks that what the decoder
// made of them survives its own encoding: encode, decode again, and the second
// decode must give the same groups and index, which encode to the same bytes.
// Any read past the input is left to AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/group_model.h"
#include "model/byte_io.h"
#include "model/fdf_format.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_fdf: %s\n", what);
    std::abort();
  }
}

bool SameEntry(const t_FilterEntry& a, const t_FilterEntry& b) {
  const int32_t count_a = a.lCount;
  const int32_t count_b = b.lCount;
  // The name up to its terminator, then count and all hundred conditions.
  return std::strncmp(a.szName, b.szName, sizeof(a.szName)) == 0 && count_a == count_b &&
         std::memcmp(a.aCondition, b.aCondition, sizeof(a.aCondition)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  units::ByteReader reader(data, size);
  const units::FdfContents first = units::DecodeFdf(reader);
  // An entry exists only where its first byte does.
  Check(first.entries.size() <= size, "more entries than input bytes");
  Check(first.entries.empty() || static_cast<int64_t>(first.entries.size()) <= first.declared_count,
        "more entries than the count");
  for (const t_FilterEntry& entry : first.entries) {
    Check(std::memchr(entry.szName, '\0', sizeof(entry.szName)) != nullptr, "name without terminator");
    const int32_t count = entry.lCount;
    Check(count >= 0 && count <= units::kMaxConditions, "condition count outside 0..100");
  }

  const std::string encoded = units::EncodeFdf(first.entries, first.stored_index);
  Check(encoded.size() == 14 + units::kGroupEntrySize * first.entries.size(), "encoded size");

  units::ByteReader again(encoded.data(), encoded.size());
  const units::FdfContents second = units::DecodeFdf(again);
  Check(again.AtEnd() && !again.Exhausted(), "second decode did not end exactly at the last byte");
  Check(second.has_header, "encoding lost the header");
  Check(second.declared_count == static_cast<int32_t>(first.entries.size()), "count changed");
  Check(second.entries.size() == first.entries.size(), "entry count changed");
  Check(second.stored_index == first.stored_index, "index changed");
  for (size_t i = 0; i < first.entries.size(); ++i) {
    Check(SameEntry(first.entries[i], second.entries[i]), "entry changed by encode and decode");
  }
  Check(units::EncodeFdf(second.entries, second.stored_index) == encoded, "second encoding differs from the first");
  return 0;
}
