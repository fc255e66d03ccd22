// UDF and FDF encodings against little-endian bytes built here, not by the library's writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/catalogue.h"
#include "model/fdf_format.h"
#include "model/udf_format.h"
#include "test_support.h"

namespace units {
namespace {

struct Bytes {
  Bytes& U16(uint16_t value) { return Le(value, 2); }
  Bytes& I32(int32_t value) { return Le(static_cast<uint32_t>(value), 4); }
  Bytes& U32(uint32_t value) { return Le(value, 4); }
  Bytes& F32(float value) { uint32_t bits; std::memcpy(&bits, &value, 4); return Le(bits, 4); }
  Bytes& F64(double value) { uint64_t bits; std::memcpy(&bits, &value, 8); return Le(bits, 8); }
  // A text as wide as its field has no terminator, as in damaged data.
  Bytes& Text(const std::string& text, size_t width) { return Raw(text + std::string(width - text.size(), '\0')); }
  Bytes& Raw(const std::string& bytes) { bytes_ += bytes; return *this; }
  Bytes& Le(uint64_t value, int width) {
    for (int i = 0; i < width; ++i) bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return *this;
  }
  operator std::string() const { return bytes_; }
  std::string bytes_;
};

// Decodes an exact-size heap copy, so that AddressSanitizer sees any read past the end.
template <typename Contents>
Contents Decode(const std::string& bytes, Contents (*decode)(ByteReader&)) {
  const std::vector<unsigned char> copy(bytes.begin(), bytes.end());
  ByteReader reader(copy.data(), copy.size());
  return decode(reader);
}
UdfContents Udf(const std::string& bytes) { return Decode(bytes, DecodeUdf); }
FdfContents Fdf(const std::string& bytes) { return Decode(bytes, DecodeFdf); }

template <typename Record>
size_t FirstDifference(const Record& a, const Record& b) {
  const auto* x = reinterpret_cast<const unsigned char*>(&a);
  return std::mismatch(x, x + sizeof(Record), reinterpret_cast<const unsigned char*>(&b)).first - x;
}
#define EXPECT_SAME(actual, expected) EXPECT_EQ(FirstDifference(actual, expected), sizeof(expected))

std::string UnitEntry(double factor, double offset, const std::string& text, uint16_t state, uint16_t version = 2) {
  Bytes bytes;
  bytes.U16(version);
  version < 2 ? bytes.F32(static_cast<float>(factor)).F32(static_cast<float>(offset)) : bytes.F64(factor).F64(offset);
  return bytes.Text(text, 21).U16(state);
}

// A defined and enabled slot. Text, flags and pairs (device, index, device...)
// are stored from versions 3, 2 and 4 on; `declared` overrides the pair count.
std::string SlotEntry(uint16_t version, int32_t number, const std::string& name, const std::string& symbol,
                      const std::string& text, uint32_t flags, const std::vector<uint16_t>& pairs = {},
                      int declared = -1) {
  Bytes bytes;
  bytes.U16(version).I32(number).Text(name, 41).Text(symbol, 21);
  if (version >= 3) bytes.Text(text, 21);
  bytes.U16(kSlotDefined | kSlotEnabled);
  if (version >= 2) bytes.U32(flags);
  if (version < 4) return bytes;
  bytes.U16(static_cast<uint16_t>(declared < 0 ? pairs.size() / 2 : declared));
  for (uint16_t value : pairs) bytes.U16(value);
  return bytes;
}

// SmallQuantity() stored, with its entries in these versions; `pairs`
// (device, index, device...) and `declared` replace its subquantity's pairs.
std::string SmallRecord(uint16_t unit_version = 2, uint16_t slot_version = 4,
                        const std::vector<uint16_t>& pairs = {7, 1, 65535, 2}, int declared = -1) {
  Bytes bytes;
  bytes.U16(2).U16(0x0105).Text("Speed", 41).Text("v", 21).Text("v_x", 21).U32(2).U32(1).I32(kUnitSlots);
  bytes.Raw(UnitEntry(1.0, 0.0, "m/s", 1)).Raw(UnitEntry(3.6, 0.5, "km/h", 1, unit_version));
  for (int unit = 2; unit < kUnitSlots; ++unit) bytes.Raw(UnitEntry(1.0, 0.0, "", 2));
  bytes.I32(kSubQuantitySlots).Raw(SlotEntry(slot_version, 3, "Mean", "vm", "v_m", kFlagMean, pairs, declared));
  for (int slot = 1; slot < kSubQuantitySlots; ++slot) bytes.U16(4).I32(0).Text("", 83).U16(2).U32(0).U16(0);
  return bytes;
}

t_quantity SmallQuantity() {
  t_quantity quantity = *testing::MakeQuantity(0x0105, "Speed", "v");
  CopyText(quantity.szText, kSymbolWidth, "v_x");
  quantity.dwState = 2;
  quantity.dwUnit = 1;
  testing::DefineUnit(&quantity, 0, "m/s", 1.0, 0.0);
  testing::DefineUnit(&quantity, 1, "km/h", 3.6, 0.5);
  t_subquantity& slot = testing::DefineSlot(&quantity, 0, 3, kFlagMean, "Mean", "vm");
  CopyText(slot.szText, kSymbolWidth, "v_m");
  slot.wCount = 2;
  slot.awDevice[0] = 7, slot.awIndex[0] = 1, slot.awDevice[1] = 65535, slot.awIndex[1] = 2;
  return quantity;
}

// Stale bytes behind a terminator must not reach the store.
TEST(UdfFormatTest, SmallFilesAreTheDocumentedBytesBothWaysAndOlderVersionsReadWithTheirOwnLayouts) {
  QuantityTable table;
  table.push_back(std::make_unique<t_quantity>(SmallQuantity()));
  std::memset(table[0]->szText + 4, 'Z', kSymbolWidth - 5);
  const std::string file = Bytes().U16(0xFFFF).U16(2).U16(1).I32(3).U16(1).Raw(SmallRecord());
  EXPECT_EQ(EncodeUdf(table, 3, 1), file);
  EXPECT_EQ(QuantityRecordSize(*table[0]), file.size() - kUdfHeaderSize);
  EXPECT_EQ(EncodeUdf(*MakeCatalogue(std::move(table)), 3, 1), file);
  const UdfContents contents = Udf(file);
  EXPECT_TRUE(contents.has_header && contents.unit_format == 3 && contents.text_mode == 1);
  ASSERT_EQ(contents.records.size(), 1u);
  EXPECT_SAME(*contents.records[0], SmallQuantity());
  // A damaged pair count in memory makes 50 pairs, never a read past the arrays.
  contents.records[0]->aSubQuantity[9].wCount = 0xFFFF;
  EXPECT_EQ(EncodeUdf(contents.records, 3, 1).size(), file.size() + 4 * kMaxPairs);
  // Record version 1 stores 11 bytes of symbol and no text, old unit entries binary32 numbers, old subquantity
  // entries fewer fields (no flag word stands for Data). The record behind each shows that it took its own length.
  // Files that start with the count hold no settings.
  const struct { uint16_t record, unit, slot; const char *stored_symbol, *symbol; } cases[] = {
      {0, 0, 0, "v", "v"}, {1, 1, 1, "ABCDEFGHIJK", "ABCDEFGHIJ"}, {1, 2, 2, "v", "v"}, {3, 3, 3, "v", "v"},
      {0xFFFF, 0xFFFF, 9, "v", "v"}};
  for (const auto& c : cases) {
    std::string record = SmallRecord(c.unit, c.slot).replace(0, 2, Bytes().U16(c.record));
    if (c.record == 1) record.replace(45, 21 + 21, Bytes().Text(c.stored_symbol, 11));
    const UdfContents old = Udf(Bytes().U16(2).Raw(record).Raw(SmallRecord()));
    t_quantity expected = SmallQuantity();
    t_subquantity& slot = expected.aSubQuantity[0];
    CopyText(expected.szSymbol, kSymbolWidth, c.symbol);
    if (c.record == 1) CopyText(expected.szText, kSymbolWidth, "");
    if (c.unit < 2) expected.aUnit[1].dFactor = static_cast<double>(3.6f);
    if (c.slot < 4) slot.wCount = slot.awDevice[0] = slot.awIndex[0] = slot.awDevice[1] = slot.awIndex[1] = 0;
    if (c.slot < 3) CopyText(slot.szText, kSymbolWidth, "");
    if (c.slot < 2) slot.dwFlags = kFlagData;
    ASSERT_EQ(old.records.size(), 2u);
    EXPECT_SAME(*old.records[0], expected) << c.record << " " << c.unit << " " << c.slot << " " << c.symbol;
    EXPECT_SAME(*old.records[1], SmallQuantity()) << c.record << " " << c.unit << " " << c.slot;
    EXPECT_TRUE(!old.has_header && old.unit_format == kUnitFormatNotSet && old.text_mode == kTextModeNotSet);
  }
}

TEST(ByteReaderTest, AFieldTheBytesDoNotReachKeepsItsValueAndEndsTheStream) {
  uint16_t u16 = 7;
  int32_t i32 = 7;
  uint32_t u32 = 7;
  float f32 = 7.0f;
  double f64 = 7.0;
  for (size_t available = 0; available < 8; ++available) {
    const std::string bytes(available, '\x01');
    ByteReader a(bytes.data(), bytes.size()), b(bytes.data(), bytes.size());
    EXPECT_EQ(available >= 2, a.ReadU16(&u16));
    EXPECT_FALSE(b.ReadF64(&f64) || b.ReadU16(&u16)) << "exhausted for good";
    EXPECT_TRUE(available >= 4 || !(a.ReadI32(&i32) || a.ReadU32(&u32) || a.ReadF32(&f32))) << available;
  }
  EXPECT_TRUE(i32 == 7 && u32 == 7 && f32 == 7.0f && f64 == 7.0 && u16 == 0x0101);
}

// No writer stores more than ten entries, more than 50 pairs or texts without terminator: extra entries and pairs are
// read past, keeping the slots and the next record in place, and texts are cut inside their width.
TEST(UdfDamagedInputTest, ExtraEntriesAndPairsAreReadPastAndTextsCutInsideTheirWidth) {
  std::string more = SmallRecord() + SlotEntry(4, 99, "extra", "x", "", 0, {1, 2});
  more.replace(509, 4, Bytes().I32(11));  // the slot count
  more.insert(509, UnitEntry(11.0, 0.0, "eleven", 1) + UnitEntry(12.0, 0.0, "twelve", 1, 0));
  more.replace(95, 4, Bytes().I32(12));  // the unit count
  std::string cut = SmallRecord();
  cut.replace(4, 41 + 21 + 21, std::string(83, 'x'));        // name, symbol, text
  cut.replace(99 + 18, 21, std::string(21, 'x'));            // text of unit 0
  cut.replace(513 + 6, 41 + 21 + 21, std::string(83, 'x'));  // name, symbol, text of slot 0
  std::vector<uint16_t> pairs;
  for (uint16_t i = 0; i < 60; ++i) pairs.insert(pairs.end(), {i, static_cast<uint16_t>(1000 + i)});
  // The last record declares 65535 pairs; its bytes end after three (head and units 513, entry 97).
  const UdfContents contents = Udf(Bytes().U16(6).Raw(more + SmallRecord() + cut + SmallRecord(2, 4, pairs)).Raw(
      SmallRecord() + SmallRecord(2, 4, pairs, 65535).substr(0, 513 + 97 + 12)));
  ASSERT_EQ(contents.records.size(), 6u);
  for (size_t r : {0, 1, 4}) EXPECT_SAME(*contents.records[r], SmallQuantity()) << r;
  const t_quantity& q = *contents.records[2];
  const t_subquantity& s = q.aSubQuantity[0];
  for (const char* text : {q.szName, s.szName}) EXPECT_EQ(text, std::string(40, 'x'));
  for (const char* text : {q.szSymbol, q.szText, q.aUnit[0].szText, s.szSymbol, s.szText}) {
    EXPECT_EQ(text, std::string(20, 'x'));
  }
  EXPECT_EQ(testing::Val(s.dwFlags), kFlagMean);
  const t_subquantity &kept = contents.records[3]->aSubQuantity[0], &short_slot = contents.records[5]->aSubQuantity[0];
  EXPECT_TRUE(kept.wCount == 50 && kept.awIndex[49] == 1049);
  EXPECT_TRUE(short_slot.wCount == 50 && short_slot.awIndex[2] == 1002 && short_slot.awDevice[3] == 0);
}

// Records exist only where their first byte does, settings only when whole; fields the bytes do not reach stay
// initial.
TEST(UdfDamagedInputTest, CutFilesAndDamagedCountsCreateOnlyTheRecordsThatStart) {
  const std::string file = Bytes().U16(0xFFFF).U16(2).U16(2).I32(3).U16(1).Raw(SmallRecord()).Raw(SmallRecord());
  const size_t second = 12 + SmallRecord().size();
  for (size_t length = 0; length <= file.size(); ++length) {
    const UdfContents contents = Udf(file.substr(0, length));
    ASSERT_EQ(contents.records.size(), (length > 12 ? 1u : 0u) + (length > second ? 1u : 0u)) << length;
    ASSERT_EQ(contents.unit_format, length >= 10 ? 3 : kUnitFormatNotSet) << length;
    ASSERT_EQ(contents.text_mode, length >= 12 ? 1 : kTextModeNotSet) << length;
  }
  const t_quantity initial = *testing::MakeQuantity(0);
  t_quantity expected = SmallQuantity();
  expected.aUnit[1] = initial.aUnit[1];
  expected.aUnit[1].dFactor = 3.6;
  expected.aSubQuantity[0] = initial.aSubQuantity[0];
  EXPECT_SAME(*Udf(file.substr(0, 12 + 140 + 17)).records.at(0), expected);  // cut inside the offset of unit 1
  expected = SmallQuantity();
  expected.aSubQuantity[0].awIndex[1] = 0;
  EXPECT_SAME(*Udf(file.substr(0, 12 + 610 + 7)).records.at(0), expected);  // inside the index of pair 1
  const UdfContents header_only = Udf(Bytes().U16(0xFFFF).U16(2).U16(0xFFFF).I32(1).U16(1));
  EXPECT_TRUE(header_only.declared_count == 65535u && header_only.records.capacity() == 0u);
  EXPECT_LE(Udf(Bytes().U16(65534).Raw(SmallRecord())).records.capacity(), 2u);
}

Bytes FdfHeader(int32_t count) { return Bytes().I32(-1).U16(1).I32(count); }

t_FilterEntry SampleEntry(const char* name) {
  t_FilterEntry entry = testing::MakeGroup(name, {{0x0102, 3, kFlagData, 2, 1, 0x1F, kFlagData | kFlagSet}});
  entry.aCondition[99] = {99, 99, 0x99, 9, 9, kTestSubQuantity, 0x9999};
  return entry;
}

// SampleEntry() stored; versions 0 and 1 end before the last condition's mask.
std::string SampleEntryBytes(const std::string& name, int32_t count, uint16_t version = 2) {
  Bytes bytes;
  bytes.U16(version).Text(name, 300).I32(count);
  bytes.U16(0x0102).I32(3).U32(kFlagData).U16(2).U16(1).U16(0x1F).U32(kFlagData | kFlagSet);
  for (int c = 1; c < 99; ++c) bytes.U16(0).I32(-1).U32(0).U16(0).U16(0).U16(0).U32(0);
  bytes.U16(99).I32(99).U32(0x99).U16(9).U16(9).U16(kTestSubQuantity);
  return version >= 2 ? bytes.U32(0x9999) : bytes;
}

// Stale bytes behind a name's terminator are not written. The entry behind shows that each version took its own
// length. Old files start with the count and may end without the index.
TEST(FdfFormatTest, SmallFileIsTheDocumentedBytesAndOlderVersionsReadWithTheirOwnLayouts) {
  EXPECT_EQ(EncodeFdf({}, 0), std::string(FdfHeader(0).I32(0)));
  t_FilterEntry entry = SampleEntry("Pressures");
  std::memset(entry.szName + 10, 'Z', 200);
  EXPECT_EQ(EncodeFdf({entry}, 1), std::string(FdfHeader(1).Raw(SampleEntryBytes("Pressures", 1)).I32(1)));
  for (uint16_t version : {0, 1, 2, 3, 0xFFFF}) {
    const std::string entries = SampleEntryBytes("Old", 1, version) + SampleEntryBytes("After", 1);
    t_FilterEntry expected = SampleEntry("Old");
    if (version < 2) expected.aCondition[99].dwFlagMask = 0;
    const std::pair<std::string, int32_t> files[] = {{FdfHeader(2).Raw(entries).I32(2), 2},
                                                     {Bytes().I32(2).Raw(entries).I32(2), 2},
                                                     {Bytes().I32(2).Raw(entries), kMissingIndex}};
    for (const auto& [file, index] : files) {
      const FdfContents contents = Fdf(file);
      ASSERT_EQ(contents.entries.size(), 2u) << version;
      EXPECT_SAME(contents.entries[0], expected) << version;
      EXPECT_SAME(contents.entries[1], SampleEntry("After")) << version;
      EXPECT_TRUE(contents.has_header == (file[0] == '\xFF') && contents.stored_index == index) << version;
    }
  }
}

// Entries exist only where their first byte does, a cut entry keeps the fields it does not reach initial, and damaged
// condition counts stay inside the table.
TEST(FdfDamagedInputTest, CutFilesAndDamagedCountsCreateOnlyTheEntriesThatStart) {
  const std::string file = FdfHeader(2).Raw(SampleEntryBytes("A", 1)).Raw(SampleEntryBytes("B", 1, 1)).I32(2);
  for (size_t length = 0; length <= file.size(); ++length) {
    const FdfContents contents = Fdf(file.substr(0, length));
    ASSERT_EQ(contents.entries.size(), (length > 10 ? 1u : 0u) + (length > 10 + kGroupEntrySize ? 1u : 0u)) << length;
    ASSERT_EQ(contents.stored_index, length == file.size() ? 2 : kMissingIndex) << length;
  }
  t_FilterEntry expected = SampleEntry("A");
  expected.aCondition[99].wIndex = expected.aCondition[99].wTests = 0;
  expected.aCondition[99].dwFlagMask = 0;
  EXPECT_SAME(Fdf(file.substr(0, 10 + 306 + 20 * 99 + 13)).entries.at(0), expected);  // cut inside wIndex
  EXPECT_TRUE(Fdf(FdfHeader(-5).I32(1)).entries.empty());
  const FdfContents huge = Fdf(FdfHeader(INT_MAX).Raw(std::string(10, '\x07')));
  EXPECT_TRUE(huge.entries.size() == 1u && huge.entries.capacity() <= 2u);
  const std::pair<int32_t, int32_t> counts[] = {{INT_MIN, 0}, {-1, 0}, {57, 57}, {101, 100}, {INT_MAX, 100}};
  for (const auto& [stored, read] : counts) {
    const FdfContents clamped = Fdf(FdfHeader(1).Raw(SampleEntryBytes(std::string(300, 'g'), stored)));
    ASSERT_EQ(clamped.entries.size(), 1u);
    EXPECT_EQ(testing::Val(clamped.entries[0].lCount), read) << stored;
    EXPECT_EQ(clamped.entries[0].szName, std::string(299, 'g'));
  }
}

}  // namespace
}  // namespace units
