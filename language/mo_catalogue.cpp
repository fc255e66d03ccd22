#include "language/mo_catalogue.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace units {
namespace language {

namespace {

constexpr uint32_t kMagic = 0x950412de;
// magic, revision, count, original table, translation table, hash size, hash table.
constexpr size_t kHeaderSize = 7 * 4;
constexpr size_t kDescriptorSize = 8;  // length, offset
// Separates msgctxt from msgid in a key; the service has no contexts.
constexpr char kContextSeparator = '\x04';

// REQUIRES: four readable bytes at `p`.
uint32_t DecodeWord(const unsigned char* p, bool big_endian) {
  if (big_endian) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
  }
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

bool Fail(std::string* error, const std::string& message) {
  if (error != nullptr) *error = message;
  return false;
}

// A view of the file in its byte order; every read is checked against the size.
class MoView {
 public:
  MoView(const std::vector<char>& bytes, bool big_endian)
      : data_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()), big_endian_(big_endian) {}

  // REQUIRES: offset + 4 <= size.
  uint32_t Word(uint64_t offset) const { return DecodeWord(data_ + offset, big_endian_); }

  // 64-bit arithmetic: count * 8 and the sum cannot wrap for 32-bit inputs.
  bool TableFits(uint64_t offset, uint64_t count) const { return offset + count * kDescriptorSize <= size_; }

  // The string described at `descriptor`. It must lie inside the file with the
  // NUL that msgfmt writes after it, so it can be handed out as a C string.
  // REQUIRES: the descriptor itself lies inside the file.
  bool String(uint64_t descriptor, const char** start, size_t* length) const {
    const uint64_t string_length = Word(descriptor);
    const uint64_t offset = Word(descriptor + 4);
    if (offset + string_length >= size_ || data_[offset + string_length] != '\0') return false;
    *start = reinterpret_cast<const char*>(data_ + offset);
    *length = static_cast<size_t>(string_length);
    return true;
  }

 private:
  const unsigned char* data_;
  size_t size_;
  bool big_endian_;
};

// The part before the first NUL: the singular msgid or the first plural form.
std::string_view FirstForm(const char* start, size_t length) {
  const void* nul = std::memchr(start, '\0', length);
  return std::string_view(start, nul == nullptr ? length : static_cast<size_t>(static_cast<const char*>(nul) - start));
}

// The header entry (empty msgid), entries with a context and empty
// translations are not translations of a plain text.
bool Usable(std::string_view key, const char* value) {
  return !key.empty() && key.find(kContextSeparator) == std::string_view::npos && value[0] != '\0';
}

}  // namespace

bool MoCatalogue::Parse(std::vector<char> bytes, std::string* error) {
  Clear();
  if (bytes.size() > kMaxFileSize) return Fail(error, "file size: above the limit");
  if (bytes.size() < kHeaderSize) return Fail(error, "header: shorter than 28 bytes");
  bool big_endian;
  const auto* head = reinterpret_cast<const unsigned char*>(bytes.data());
  if (DecodeWord(head, false) == kMagic) {
    big_endian = false;
  } else if (DecodeWord(head, true) == kMagic) {
    big_endian = true;
  } else {
    return Fail(error, "magic: not a gettext catalogue");
  }
  const MoView view(bytes, big_endian);
  // Major revision 1 only adds tables for system-dependent strings, which
  // plain lookups do not need; the regular tables keep their meaning.
  if ((view.Word(4) >> 16) > 1) return Fail(error, "revision: unknown major revision");
  const uint64_t count = view.Word(8);
  const uint64_t originals = view.Word(12);
  const uint64_t translations = view.Word(16);
  if (!view.TableFits(originals, count)) return Fail(error, "original table: past the end of the file");
  if (!view.TableFits(translations, count)) return Fail(error, "translation table: past the end of the file");

  std::vector<Entry> entries;
  for (uint64_t i = 0; i < count; ++i) {
    const char* key;
    const char* value;
    size_t key_length;
    size_t value_length;
    if (!view.String(originals + i * kDescriptorSize, &key, &key_length)) {
      return Fail(error, "original string " + std::to_string(i) + ": past the end of the file or not terminated");
    }
    if (!view.String(translations + i * kDescriptorSize, &value, &value_length)) {
      return Fail(error, "translation " + std::to_string(i) + ": past the end of the file or not terminated");
    }
    const std::string_view first_key = FirstForm(key, key_length);
    if (Usable(first_key, value)) entries.push_back(Entry{first_key, value});
  }
  // msgfmt sorts its tables, but nothing obliges another tool to.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
  entries.erase(std::unique(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key == b.key; }),
                entries.end());
  bytes_ = std::move(bytes);
  entries_ = std::move(entries);
  return true;
}

const char* MoCatalogue::Find(std::string_view key) const {
  const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                   [](const Entry& entry, std::string_view wanted) { return entry.key < wanted; });
  return it != entries_.end() && it->key == key ? it->value : nullptr;
}

void MoCatalogue::Clear() {
  entries_.clear();
  bytes_.clear();
  bytes_.shrink_to_fit();
}

}  // namespace language
}  // namespace units
