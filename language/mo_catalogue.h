// A message catalogue read from a GNU gettext binary (.mo) file by our own
// reader, so that translations never depend on the host's setlocale or on the
// C library's gettext. The layout is described in mo_format.md.
//
// The file's bytes are untrusted: the reader checks every offset and length
// against the bytes it holds and rejects the whole file on the first
// inconsistency, naming the field.
#ifndef UNITS_LANGUAGE_MO_CATALOGUE_H_
#define UNITS_LANGUAGE_MO_CATALOGUE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace units {
namespace language {

class MoCatalogue {
 public:
  // A file larger than this is refused unread: real catalogues are a few
  // hundred KiB, and the cap bounds the memory an untrusted file can claim.
  static constexpr size_t kMaxFileSize = size_t{16} << 20;

  struct Entry {
    std::string_view key;  // msgid up to its first NUL (the singular form)
    const char* value;     // msgstr up to its first NUL (the first plural form)
  };

  MoCatalogue() = default;
  MoCatalogue(const MoCatalogue&) = delete;
  MoCatalogue& operator=(const MoCatalogue&) = delete;
  MoCatalogue(MoCatalogue&&) = default;
  MoCatalogue& operator=(MoCatalogue&&) = default;

  // Replaces the catalogue with the entries of `bytes`. On failure the
  // catalogue is empty and `error` (if not null) names the offending field.
  bool Parse(std::vector<char> bytes, std::string* error);

  // The translation of `key`, or null. The pointer stays valid until the
  // catalogue is parsed again, cleared or destroyed.
  const char* Find(std::string_view key) const;

  // Entries sorted by key, one per key (the first in the file wins).
  const std::vector<Entry>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }
  void Clear();

 private:
  // Entries point into bytes_; a vector keeps its buffer when moved.
  std::vector<char> bytes_;
  std::vector<Entry> entries_;
};

}  // namespace language
}  // namespace units

#endif  // UNITS_LANGUAGE_MO_CATALOGUE_H_
