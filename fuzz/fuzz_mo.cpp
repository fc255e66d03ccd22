// Reads arbitrary bytes as a gettext catalogue. A rejected file must leave the
// catalogue empty; an accepted one must answer every key it lists with the
// value it lists, and every value must be a terminated string inside the
// input. Any read past the input is left to AddressSanitizer.
//
// Seeds (fuzz/corpus/mo): msgfmt output, in both byte orders, of a catalogue
// with a header, three plain messages, a plural entry and one with a context.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "language/mo_catalogue.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_mo: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  units::language::MoCatalogue catalogue;
  std::string error;
  const bool parsed = catalogue.Parse(std::vector<char>(data, data + size), &error);
  if (!parsed) {
    Check(catalogue.empty(), "rejected file left entries");
    Check(!error.empty(), "rejected file without a reason");
    return 0;
  }
  const std::vector<units::language::MoCatalogue::Entry>& entries = catalogue.entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto& entry = entries[i];
    Check(!entry.key.empty(), "empty key");
    Check(entry.key.find('\x04') == std::string::npos, "key with a context");
    Check(entry.value[0] != '\0', "empty translation");
    Check(std::strlen(entry.value) < size, "translation longer than the input");
    Check(i == 0 || entries[i - 1].key < entry.key, "entries not sorted and unique");
    Check(catalogue.Find(entry.key) == entry.value, "lookup disagrees with the entry");
  }
  return 0;
}
