// Hand-built byte images of stored UDF and FDF data, assembled field by field
// in little-endian order without the library's writer, so that tests state
// what the bytes of a file must be rather than what our writer happens to do.
#ifndef UNITS_TESTS_STORAGE_STORED_BYTES_H_
#define UNITS_TESTS_STORAGE_STORED_BYTES_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "test_support.h"

namespace units {
namespace testing {

class Bytes {
 public:
  Bytes& U16(uint16_t value) { return Le(value, 2); }
  Bytes& I32(int32_t value) { return Le(static_cast<uint32_t>(value), 4); }
  Bytes& U32(uint32_t value) { return Le(value, 4); }
  Bytes& F32(float value) {
    uint32_t raw;
    std::memcpy(&raw, &value, sizeof(raw));
    return Le(raw, 4);
  }
  Bytes& F64(double value) {
    uint64_t raw;
    std::memcpy(&raw, &value, sizeof(raw));
    return Le(raw, 8);
  }
  // The text, then zeros to the full width. A text as long as the width has
  // no terminator, as in a damaged file.
  Bytes& Text(const std::string& text, size_t width) {
    EXPECT_LE(text.size(), width) << "test text does not fit its field";
    bytes_ += text.substr(0, width);
    bytes_.append(width - std::min(text.size(), width), '\0');
    return *this;
  }
  Bytes& Raw(const std::string& raw) {
    bytes_ += raw;
    return *this;
  }
  Bytes& Fill(size_t count, char byte) {
    bytes_.append(count, byte);
    return *this;
  }

  size_t size() const { return bytes_.size(); }
  const std::string& str() const { return bytes_; }
  operator const std::string&() const { return bytes_; }

 private:
  Bytes& Le(uint64_t value, int width) {
    for (int i = 0; i < width; ++i) bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return *this;
  }

  std::string bytes_;
};

// Values read back from a byte image, little-endian, at a byte offset.
inline uint64_t LeAt(const std::string& bytes, size_t offset, int width) {
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes.at(offset + i));
  return value;
}
inline uint16_t U16At(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>(LeAt(bytes, offset, 2));
}
inline uint32_t U32At(const std::string& bytes, size_t offset) {
  return static_cast<uint32_t>(LeAt(bytes, offset, 4));
}
inline int32_t I32At(const std::string& bytes, size_t offset) { return static_cast<int32_t>(U32At(bytes, offset)); }
inline double F64At(const std::string& bytes, size_t offset) {
  const uint64_t raw = LeAt(bytes, offset, 8);
  double value;
  std::memcpy(&value, &raw, sizeof(value));
  return value;
}
// The text of a field: its bytes up to the first NUL inside the width.
inline std::string TextAt(const std::string& bytes, size_t offset, size_t width) {
  const std::string field = bytes.substr(offset, width);
  return field.substr(0, field.find('\0'));
}

// Compares two plain records byte for byte and names the first difference.
template <typename Record>
::testing::AssertionResult SameBytes(const Record& actual, const Record& expected) {
  const auto* a = reinterpret_cast<const unsigned char*>(&actual);
  const auto* b = reinterpret_cast<const unsigned char*>(&expected);
  for (size_t i = 0; i < sizeof(Record); ++i) {
    if (a[i] != b[i]) {
      return ::testing::AssertionFailure() << "first difference at byte " << i << " of " << sizeof(Record) << ": "
                                           << static_cast<int>(a[i]) << " instead of " << static_cast<int>(b[i]);
    }
  }
  return ::testing::AssertionSuccess();
}

// A byte image that remembers, for every record field it holds, where the
// field ends in the image and which bytes it must leave in the record. From
// that it tells how a reader must leave a record after seeing only a prefix
// of the image: every field the prefix holds whole is read, every other field
// keeps its initial value.
template <typename Record>
class TrackedImage {
 public:
  size_t size() const { return bytes_.size(); }
  const std::string& bytes() const { return bytes_.str(); }

  // Bytes that fill no record field: versions, counts, headers, skipped data.
  void Raw(const std::string& raw) { bytes_.Raw(raw); }
  // The following fields belong to the next record.
  void StartRecord() { starts_.push_back(bytes_.size()); }

  template <typename T>
  void Field(size_t memory_offset, T value) {
    static_assert(std::is_same_v<T, uint16_t> || std::is_same_v<T, int32_t> || std::is_same_v<T, uint32_t> ||
                      std::is_same_v<T, double>,
                  "stored field types");
    if constexpr (std::is_same_v<T, uint16_t>) bytes_.U16(value);
    if constexpr (std::is_same_v<T, int32_t>) bytes_.I32(value);
    if constexpr (std::is_same_v<T, uint32_t>) bytes_.U32(value);
    if constexpr (std::is_same_v<T, double>) bytes_.F64(value);
    Implied(memory_offset, value, bytes_.size());
  }
  // A binary32 on disk that the record holds as binary64.
  void WidenedF32(size_t memory_offset, float value) {
    bytes_.F32(value);
    Implied(memory_offset, static_cast<double>(value), bytes_.size());
  }
  // A text stored in `stored_width` bytes, read into a field of
  // `memory_width` bytes: it keeps at most stored_width - 1 characters.
  void Text(size_t memory_offset, const std::string& text, size_t stored_width, size_t memory_width) {
    bytes_.Text(text, stored_width);
    std::string memory = text.substr(0, std::min(text.size(), stored_width - 1));
    memory.resize(memory_width, '\0');
    expectations_.push_back({starts_.size() - 1, bytes_.size(), memory_offset, memory});
  }
  // A field value that depends on bytes up to `file_end` without being
  // stored itself (a count that is cut, a flag implied by an old version).
  template <typename T>
  void Implied(size_t memory_offset, T value, size_t file_end) {
    std::string memory(sizeof(T), '\0');
    std::memcpy(&memory[0], &value, sizeof(T));
    expectations_.push_back({starts_.size() - 1, file_end, memory_offset, memory});
  }

  size_t Position() const { return bytes_.size(); }
  size_t RecordStart(size_t record) const { return starts_.at(record); }
  size_t RecordCount() const { return starts_.size(); }
  // Records whose first byte lies inside a prefix of `length` bytes.
  size_t RecordsStartedIn(size_t length) const {
    return static_cast<size_t>(std::count_if(starts_.begin(), starts_.end(), [&](size_t s) { return s < length; }));
  }

  Record Expected(size_t record, size_t length, const Record& initial) const {
    Record expected = initial;
    auto* memory = reinterpret_cast<unsigned char*>(&expected);
    for (const Expectation& e : expectations_) {
      if (e.record == record && e.file_end <= length) {
        std::memcpy(memory + e.memory_offset, e.memory.data(), e.memory.size());
      }
    }
    return expected;
  }

 private:
  struct Expectation {
    size_t record;
    size_t file_end;
    size_t memory_offset;
    std::string memory;
  };
  Bytes bytes_;
  std::vector<size_t> starts_;
  std::vector<Expectation> expectations_;
};

// ---- UDF pieces ----

// Unit entry of version 2 and above: 41 bytes.
inline std::string UnitEntry(double factor, double offset, const std::string& text, uint16_t state,
                             uint16_t version = 2) {
  return Bytes().U16(version).F64(factor).F64(offset).Text(text, 21).U16(state);
}

// Unit entry of version 0 or 1: binary32 factor and offset, 33 bytes.
inline std::string OldUnitEntry(float factor, float offset, const std::string& text, uint16_t state,
                                uint16_t version = 1) {
  return Bytes().U16(version).F32(factor).F32(offset).Text(text, 21).U16(state);
}

// A unit slot in its initial state, as a current entry.
inline std::string InitialUnitEntry(bool base) { return UnitEntry(1.0, 0.0, "", base ? 1 : 2); }

struct SubEntry {
  uint16_t version = 4;
  int32_t number = 0;
  std::string name;
  std::string symbol;
  std::string text;  // versions 3 and above
  uint16_t state = 2;
  uint32_t flags = 0;                                // versions 2 and above
  std::vector<std::pair<uint16_t, uint16_t>> pairs;  // versions 4 and above
  int declared_pairs = -1;                           // the stored wCount; -1: pairs.size()

  std::string Encode() const {
    Bytes bytes;
    bytes.U16(version).I32(number).Text(name, 41).Text(symbol, 21);
    if (version >= 3) bytes.Text(text, 21);
    bytes.U16(state);
    if (version >= 2) bytes.U32(flags);
    if (version >= 4) {
      bytes.U16(static_cast<uint16_t>(declared_pairs < 0 ? pairs.size() : declared_pairs));
      for (const auto& pair : pairs) bytes.U16(pair.first).U16(pair.second);
    }
    return bytes;
  }
};

struct RecordImage {
  uint16_t version = 2;
  uint16_t id = 0;
  std::string name;
  std::string symbol;  // version 1 stores 11 bytes of it
  std::string text;    // not stored by version 1
  uint32_t state = 0;
  uint32_t unit = 0;
  int32_t unit_count = 10;
  std::vector<std::string> units;  // encoded unit entries
  int32_t slot_count = 10;
  std::vector<std::string> slots;  // encoded subquantity entries

  // A record whose ten unit entries and ten slots hold initial values.
  static RecordImage Plain(uint16_t id, const std::string& name, const std::string& symbol) {
    RecordImage image;
    image.id = id;
    image.name = name;
    image.symbol = symbol;
    for (int i = 0; i < 10; ++i) image.units.push_back(InitialUnitEntry(i == 0));
    for (int i = 0; i < 10; ++i) image.slots.push_back(SubEntry().Encode());
    return image;
  }

  std::string Encode() const {
    Bytes bytes;
    bytes.U16(version).U16(id).Text(name, 41);
    if (version == 1) {
      bytes.Text(symbol, 11);
    } else {
      bytes.Text(symbol, 21).Text(text, 21);
    }
    bytes.U32(state).U32(unit).I32(unit_count);
    for (const std::string& entry : units) bytes.Raw(entry);
    bytes.I32(slot_count);
    for (const std::string& entry : slots) bytes.Raw(entry);
    return bytes;
  }
};

inline std::string UdfHeader(uint16_t count, int32_t unit_format, uint16_t text_mode) {
  return Bytes().U16(0xFFFF).U16(2).U16(count).I32(unit_format).U16(text_mode);
}

// ---- FDF pieces ----

struct ConditionImage {
  uint16_t quantity = 0;
  int32_t subquantity = -1;
  uint32_t flag_value = 0;
  uint16_t device = 0;
  uint16_t index = 0;
  uint16_t tests = 0;
  uint32_t flag_mask = 0;

  std::string Encode() const {
    return Bytes().U16(quantity).I32(subquantity).U32(flag_value).U16(device).U16(index).U16(tests).U32(flag_mask);
  }
};

// A group entry; conditions not given hold initial values. Versions 0 and 1
// end before the mask of the last condition (2302 bytes), later ones hold
// all of it (2306 bytes).
inline std::string GroupEntryImage(const std::string& name, int32_t count,
                                   const std::vector<ConditionImage>& conditions, uint16_t version = 2) {
  Bytes bytes;
  bytes.U16(version).Text(name, 300).I32(count);
  std::string table;
  for (int c = 0; c < 100; ++c) {
    table += c < static_cast<int>(conditions.size()) ? conditions[c].Encode() : ConditionImage().Encode();
  }
  if (version < 2) table.resize(table.size() - 4);
  return bytes.Raw(table);
}

inline std::string FdfHeader(int32_t count) { return Bytes().I32(-1).U16(1).I32(count); }

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_STORAGE_STORED_BYTES_H_
