#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/quantity.h"
#include "storage/byte_io.h"
#include "storage/udf_format.h"
#include "stored_bytes.h"
#include "test_support.h"

namespace units {
namespace {

using testing::Bytes;
using testing::F64At;
using testing::I32At;
using testing::InitialUnitEntry;
using testing::MakeQuantity;
using testing::OldUnitEntry;
using testing::RecordImage;
using testing::SameBytes;
using testing::SubEntry;
using testing::TextAt;
using testing::TrackedImage;
using testing::U16At;
using testing::U32At;
using testing::UdfHeader;
using testing::UnitEntry;
using testing::Val;

// Offsets of record fields in memory, for the truncation image.
constexpr size_t UnitAt(int slot, size_t field) {
  return offsetof(t_quantity, aUnit) + slot * sizeof(t_quantityunit) + field;
}
constexpr size_t SlotAt(int slot, size_t field) {
  return offsetof(t_quantity, aSubQuantity) + slot * sizeof(t_subquantity) + field;
}

// Decodes from an exact-size heap copy, so that AddressSanitizer sees any
// read past the end of the input.
UdfContents Decode(const std::string& bytes) {
  std::vector<unsigned char> copy(bytes.begin(), bytes.end());
  ByteReader reader(copy.data(), copy.size());
  return DecodeUdf(reader);
}

std::string Encode(const t_quantity& quantity) {
  std::string bytes;
  ByteWriter writer(&bytes);
  WriteQuantityRecord(writer, quantity);
  return bytes;
}

t_quantity Initial() {
  t_quantity quantity;
  InitQuantity(&quantity);
  return quantity;
}

// One record with a value in every field, pairs in two slots and units that
// only binary64 holds exactly; SampleImage() is the same record on disk.
std::unique_ptr<t_quantity> SampleQuantity() {
  auto quantity = MakeQuantity(0xBEEF, "Flow rate", "Q");
  CopyText(quantity->szText, sizeof(quantity->szText), "Q_v");
  quantity->dwState = 0x80000002;
  quantity->dwUnit = 2;
  testing::DefineUnit(quantity.get(), 0, "m3/s", 1.0, 0.0);
  testing::DefineUnit(quantity.get(), 1, "l/min", 60000.0, 0.0);
  testing::DefineUnit(quantity.get(), 2, "ml/h", 3.6e9, -0.125);
  testing::DefineUnit(quantity.get(), 9, "x", -2.5, 1e300);
  quantity->aUnit[9].wState = 0x8001;

  t_subquantity& first = quantity->aSubQuantity[0];
  first.lSubQuan = 3;
  CopyText(first.szName, sizeof(first.szName), "Setpoint");
  CopyText(first.szSymbol, sizeof(first.szSymbol), "Qs");
  CopyText(first.szText, sizeof(first.szText), "Q_s");
  first.wState = 0x1003;
  first.dwFlags = kFlagSet | kFlagMean;
  first.wCount = 3;
  first.awDevice[0] = 1;
  first.awIndex[0] = 2;
  first.awDevice[1] = 3;
  first.awIndex[1] = 4;
  first.awDevice[2] = 65535;
  first.awIndex[2] = 0;

  t_subquantity& last = quantity->aSubQuantity[9];
  last.lSubQuan = -7;
  CopyText(last.szName, sizeof(last.szName), "abcdefghijklmnopqrstuvwxyz0123456789ABCD");
  CopyText(last.szSymbol, sizeof(last.szSymbol), "sym9");
  last.wState = 0xF001;
  last.dwFlags = 0x000F0E07;
  last.wCount = 50;
  for (int i = 0; i < 50; ++i) {
    last.awDevice[i] = static_cast<uint16_t>(i * 3);
    last.awIndex[i] = static_cast<uint16_t>(0xFFFF - i);
  }
  return quantity;
}

RecordImage SampleImage() {
  RecordImage image = RecordImage::Plain(0xBEEF, "Flow rate", "Q");
  image.text = "Q_v";
  image.state = 0x80000002;
  image.unit = 2;
  image.units[0] = UnitEntry(1.0, 0.0, "m3/s", 1);
  image.units[1] = UnitEntry(60000.0, 0.0, "l/min", 1);
  image.units[2] = UnitEntry(3.6e9, -0.125, "ml/h", 1);
  image.units[9] = UnitEntry(-2.5, 1e300, "x", 0x8001);

  SubEntry first;
  first.number = 3;
  first.name = "Setpoint";
  first.symbol = "Qs";
  first.text = "Q_s";
  first.state = 0x1003;
  first.flags = kFlagSet | kFlagMean;
  first.pairs = {{1, 2}, {3, 4}, {65535, 0}};
  image.slots[0] = first.Encode();

  SubEntry last;
  last.number = -7;
  last.name = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
  last.symbol = "sym9";
  last.state = 0xF001;
  last.flags = 0x000F0E07;
  for (int i = 0; i < 50; ++i) last.pairs.push_back({static_cast<uint16_t>(i * 3), static_cast<uint16_t>(0xFFFF - i)});
  image.slots[9] = last.Encode();
  return image;
}

// ---------------------------------------------------------------- writer

TEST(UdfWriterTest, HeaderIsTwelveBytesOfMarkerVersionCountAndSettings) {
  EXPECT_EQ(EncodeUdf(QuantityTable(), 3, 1), Bytes().U16(0xFFFF).U16(2).U16(0).I32(3).U16(1).str());
  EXPECT_EQ(EncodeUdf(QuantityTable(), -1, 0xFFFF), UdfHeader(0, -1, 0xFFFF));
  EXPECT_EQ(kUdfHeaderSize, 12u);
}

TEST(UdfWriterTest, RecordIsTheDocumentedLayoutByteForByte) {
  const std::string bytes = Encode(*SampleQuantity());
  EXPECT_EQ(bytes.size(), 1483u + 4 * (3 + 50));
  EXPECT_EQ(bytes, SampleImage().Encode());
}

TEST(UdfWriterTest, RecordFieldsSitAtTheirOffsets) {
  const std::string bytes = Encode(*SampleQuantity());
  EXPECT_EQ(U16At(bytes, 0), 2);  // record version
  EXPECT_EQ(U16At(bytes, 2), 0xBEEF);
  EXPECT_EQ(TextAt(bytes, 4, 41), "Flow rate");
  EXPECT_EQ(TextAt(bytes, 45, 21), "Q");
  EXPECT_EQ(TextAt(bytes, 66, 21), "Q_v");
  EXPECT_EQ(U32At(bytes, 87), 0x80000002u);
  EXPECT_EQ(U32At(bytes, 91), 2u);
  EXPECT_EQ(I32At(bytes, 95), 10);

  // Ten unit entries of 41 bytes from offset 99.
  const size_t unit2 = 99 + 2 * 41;
  EXPECT_EQ(U16At(bytes, unit2), 2);
  EXPECT_EQ(F64At(bytes, unit2 + 2), 3.6e9);
  EXPECT_EQ(F64At(bytes, unit2 + 10), -0.125);
  EXPECT_EQ(TextAt(bytes, unit2 + 18, 21), "ml/h");
  EXPECT_EQ(U16At(bytes, unit2 + 39), 1);
  const size_t unit9 = 99 + 9 * 41;
  EXPECT_EQ(F64At(bytes, unit9 + 10), 1e300);
  EXPECT_EQ(U16At(bytes, unit9 + 39), 0x8001);
  EXPECT_EQ(I32At(bytes, 509), 10);

  // Subquantity entries of 97 + 4n bytes from offset 513.
  const size_t slot0 = 513;
  EXPECT_EQ(U16At(bytes, slot0), 4);
  EXPECT_EQ(I32At(bytes, slot0 + 2), 3);
  EXPECT_EQ(TextAt(bytes, slot0 + 6, 41), "Setpoint");
  EXPECT_EQ(TextAt(bytes, slot0 + 47, 21), "Qs");
  EXPECT_EQ(TextAt(bytes, slot0 + 68, 21), "Q_s");
  EXPECT_EQ(U16At(bytes, slot0 + 89), 0x1003);
  EXPECT_EQ(U32At(bytes, slot0 + 91), kFlagSet | kFlagMean);
  EXPECT_EQ(U16At(bytes, slot0 + 95), 3);
  EXPECT_EQ(U16At(bytes, slot0 + 97), 1);  // device of pair 0, then its index
  EXPECT_EQ(U16At(bytes, slot0 + 99), 2);
  EXPECT_EQ(U16At(bytes, slot0 + 97 + 8), 65535);
  const size_t slot1 = slot0 + 97 + 4 * 3;
  EXPECT_EQ(U16At(bytes, slot1), 4);
  const size_t slot9 = slot1 + 8 * 97;
  EXPECT_EQ(I32At(bytes, slot9 + 2), -7);
  EXPECT_EQ(U16At(bytes, slot9 + 95), 50);
  EXPECT_EQ(U16At(bytes, slot9 + 97 + 4 * 49), 49 * 3);
  EXPECT_EQ(U16At(bytes, slot9 + 97 + 4 * 49 + 2), 0xFFFF - 49);
  EXPECT_EQ(slot9 + 97 + 4 * 50, bytes.size());
}

TEST(UdfWriterTest, RecordSizeIsBaseSizePlusFourBytesPerPair) {
  const t_quantity initial = Initial();
  EXPECT_EQ(QuantityRecordSize(initial), 1483u);
  EXPECT_EQ(Encode(initial).size(), 1483u);

  auto full = MakeQuantity(1);
  for (t_subquantity& slot : full->aSubQuantity) slot.wCount = 50;
  EXPECT_EQ(QuantityRecordSize(*full), 3483u);
  EXPECT_EQ(Encode(*full).size(), 3483u);

  const auto sample = SampleQuantity();
  EXPECT_EQ(QuantityRecordSize(*sample), Encode(*sample).size());
}

TEST(UdfWriterTest, PairCountAboveFiftyInMemoryIsStoredAsFifty) {
  // A record is never larger than 3483 bytes, whatever a damaged slot says:
  // the registry store reads records through a fixed 5000-byte buffer.
  auto quantity = MakeQuantity(1);
  for (t_subquantity& slot : quantity->aSubQuantity) slot.wCount = 0xFFFF;
  const std::string bytes = Encode(*quantity);
  EXPECT_EQ(bytes.size(), 3483u);
  EXPECT_EQ(QuantityRecordSize(*quantity), 3483u);
  EXPECT_EQ(U16At(bytes, 513 + 95), 50);
}

TEST(UdfWriterTest, BytesBehindATerminatorAreWrittenAsZeros) {
  auto quantity = MakeQuantity(1, "ab");
  std::memset(quantity->szName + 3, 'Z', sizeof(quantity->szName) - 3);
  quantity->szName[sizeof(quantity->szName) - 1] = '\0';
  const std::string bytes = Encode(*quantity);
  EXPECT_EQ(bytes.substr(4, 41), Bytes().Text("ab", 41).str());
}

TEST(UdfWriterTest, FileHoldsTheRecordsInTableOrderAfterTheHeader) {
  QuantityTable table;
  table.push_back(MakeQuantity(5));
  table.push_back(SampleQuantity());
  table.push_back(MakeQuantity(3));
  const std::string bytes = EncodeUdf(table, 2, 0);
  const std::string expected = UdfHeader(3, 2, 0) + RecordImage::Plain(5, "", "").Encode() + SampleImage().Encode() +
                               RecordImage::Plain(3, "", "").Encode();
  EXPECT_EQ(bytes, expected);
}

// ---------------------------------------------------------------- reader

TEST(UdfReaderTest, CurrentRecordGivesEveryField) {
  const UdfContents contents = Decode(UdfHeader(1, 0, 0) + SampleImage().Encode());
  ASSERT_EQ(contents.records.size(), 1u);
  EXPECT_TRUE(SameBytes(*contents.records[0], *SampleQuantity()));
}

TEST(UdfReaderTest, CurrentHeaderGivesCountAndSettings) {
  const UdfContents contents =
      Decode(UdfHeader(2, 3, 1) + RecordImage::Plain(10, "a", "").Encode() + RecordImage::Plain(20, "b", "").Encode());
  EXPECT_TRUE(contents.has_header);
  EXPECT_EQ(contents.unit_format, 3);
  EXPECT_EQ(contents.text_mode, 1);
  ASSERT_EQ(contents.records.size(), 2u);
  EXPECT_EQ(Val(contents.records[0]->wId), 10);
  EXPECT_EQ(Val(contents.records[1]->wId), 20);
}

TEST(UdfReaderTest, FirstWordOtherThanTheMarkerIsTheCountOfAFileWithoutSettings) {
  std::string bytes = Bytes().U16(3);
  for (uint16_t id : {7, 8, 9}) bytes += RecordImage::Plain(id, "q", "s").Encode();
  const UdfContents contents = Decode(bytes);
  EXPECT_FALSE(contents.has_header);
  EXPECT_EQ(contents.unit_format, -1);
  EXPECT_EQ(contents.text_mode, 0xFFFF);
  ASSERT_EQ(contents.records.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Val(contents.records[i]->wId), 7 + i);
}

TEST(UdfReaderTest, SettingsMarkedNotSetAreReportedAsNotSet) {
  const UdfContents contents = Decode(UdfHeader(0, -1, 0xFFFF));
  EXPECT_TRUE(contents.has_header);
  EXPECT_EQ(contents.unit_format, kUnitFormatNotSet);
  EXPECT_EQ(contents.text_mode, kTextModeNotSet);
  EXPECT_TRUE(contents.records.empty());
}

TEST(UdfReaderTest, VersionOneRecordHasAnElevenByteSymbolAndNoText) {
  RecordImage old = RecordImage::Plain(0x0101, "Temperature", "ABCDEFGHIJK");  // 11 bytes, no terminator
  old.version = 1;
  old.text = "never stored";
  old.state = 2;
  old.unit = 1;
  old.units[1] = UnitEntry(1.8, 32.0, "degF", 1);
  RecordImage next = RecordImage::Plain(0x0202, "Pressure", "p");
  next.text = "p_abs";
  const UdfContents contents = Decode(Bytes().U16(2).Raw(old.Encode()).Raw(next.Encode()));

  ASSERT_EQ(contents.records.size(), 2u);
  const t_quantity& first = *contents.records[0];
  EXPECT_STREQ(first.szName, "Temperature");
  EXPECT_STREQ(first.szSymbol, "ABCDEFGHIJ");
  EXPECT_STREQ(first.szText, "");
  EXPECT_EQ(Val(first.dwState), 2u);
  EXPECT_EQ(Val(first.dwUnit), 1u);
  EXPECT_EQ(Val(first.aUnit[1].dFactor), 1.8);
  EXPECT_STREQ(first.aUnit[1].szText, "degF");
  const t_quantity& second = *contents.records[1];
  EXPECT_EQ(Val(second.wId), 0x0202);
  EXPECT_STREQ(second.szText, "p_abs");
}

TEST(UdfReaderTest, ShortVersionOneSymbolKeepsItsTerminator) {
  RecordImage old = RecordImage::Plain(1, "Length", "mm");
  old.version = 1;
  const UdfContents contents = Decode(Bytes().U16(1).Raw(old.Encode()));
  ASSERT_EQ(contents.records.size(), 1u);
  EXPECT_STREQ(contents.records[0]->szSymbol, "mm");
}

TEST(UdfReaderTest, RecordVersionZeroAndAboveTwoReadAsVersionTwo) {
  for (uint16_t version : {0, 3, 17, 0xFFFF}) {
    RecordImage image = SampleImage();
    image.version = version;
    const UdfContents contents = Decode(Bytes().U16(1).Raw(image.Encode()));
    ASSERT_EQ(contents.records.size(), 1u) << version;
    EXPECT_TRUE(SameBytes(*contents.records[0], *SampleQuantity())) << "record version " << version;
  }
}

TEST(UdfReaderTest, OldUnitEntriesWidenBinary32AndTake33Bytes) {
  EXPECT_EQ(OldUnitEntry(1.0f, 0.0f, "", 1).size(), 33u);
  RecordImage image = RecordImage::Plain(1, "Temperature", "T");
  image.units[1] = OldUnitEntry(0.1f, -459.67f, "degR", 1, 0);
  image.units[2] = OldUnitEntry(1.8f, 32.0f, "degF", 0x0101, 1);
  image.units[3] = UnitEntry(0.1, 0.2, "after", 1);  // read from the right place only if the old ones took 33 bytes
  image.units[4] = UnitEntry(2.5, -1.0, "v3", 1, 3);
  image.units[5] = UnitEntry(4.5, -2.0, "v65535", 1, 0xFFFF);
  const UdfContents contents = Decode(Bytes().U16(1).Raw(image.Encode()));
  ASSERT_EQ(contents.records.size(), 1u);
  const t_quantity& quantity = *contents.records[0];

  // Widened values are those of the binary32 numbers, not the decimal ones.
  EXPECT_EQ(Val(quantity.aUnit[1].dFactor), static_cast<double>(0.1f));
  EXPECT_NE(Val(quantity.aUnit[1].dFactor), 0.1);
  EXPECT_EQ(Val(quantity.aUnit[1].dOffset), static_cast<double>(-459.67f));
  EXPECT_STREQ(quantity.aUnit[1].szText, "degR");
  EXPECT_EQ(Val(quantity.aUnit[2].dFactor), static_cast<double>(1.8f));
  EXPECT_EQ(Val(quantity.aUnit[2].dOffset), 32.0);
  EXPECT_EQ(Val(quantity.aUnit[2].wState), 0x0101);
  EXPECT_EQ(Val(quantity.aUnit[3].dFactor), 0.1);
  EXPECT_EQ(Val(quantity.aUnit[3].dOffset), 0.2);
  EXPECT_STREQ(quantity.aUnit[3].szText, "after");
  EXPECT_EQ(Val(quantity.aUnit[4].dFactor), 2.5);
  EXPECT_STREQ(quantity.aUnit[4].szText, "v3");
  EXPECT_EQ(Val(quantity.aUnit[5].dOffset), -2.0);
  EXPECT_STREQ(quantity.aUnit[5].szText, "v65535");
}

TEST(UdfReaderTest, SubQuantityEntryVersionsReadWithTheirOwnLayouts) {
  SubEntry v0;
  v0.version = 0;
  v0.number = 10;
  v0.name = "zero";
  v0.symbol = "s0";
  v0.text = "not stored";
  v0.state = 3;
  v0.flags = kFlagSet;  // not stored either
  v0.pairs = {{1, 1}};  // nor this
  SubEntry v1 = v0;
  v1.version = 1;
  v1.number = 11;
  SubEntry v2 = v0;
  v2.version = 2;
  v2.number = 12;
  v2.flags = kFlagError | kFlagCalculated;
  SubEntry v3 = v2;
  v3.version = 3;
  v3.number = 13;
  v3.text = "t3";
  SubEntry v4 = v3;
  v4.version = 4;
  v4.number = 14;
  v4.pairs = {{7, 8}, {9, 10}};
  SubEntry v9 = v4;
  v9.version = 9;
  v9.number = 19;
  EXPECT_EQ(v0.Encode().size(), 70u);
  EXPECT_EQ(v1.Encode().size(), 70u);
  EXPECT_EQ(v2.Encode().size(), 74u);
  EXPECT_EQ(v3.Encode().size(), 95u);
  EXPECT_EQ(v4.Encode().size(), 97u + 8);

  RecordImage image = RecordImage::Plain(1, "Voltage", "U");
  image.slots = {v0.Encode(), v1.Encode(), v2.Encode(), v3.Encode(), v4.Encode(),
                 v9.Encode(), v1.Encode(), v3.Encode(), v0.Encode(), v2.Encode()};
  const RecordImage next = RecordImage::Plain(2, "Current", "I");
  const UdfContents contents = Decode(Bytes().U16(2).Raw(image.Encode()).Raw(next.Encode()));
  ASSERT_EQ(contents.records.size(), 2u);
  const t_quantity& quantity = *contents.records[0];

  for (int i : {0, 1, 6, 8}) {
    const t_subquantity& slot = quantity.aSubQuantity[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(Val(slot.lSubQuan), i == 0 || i == 8 ? 10 : 11);
    EXPECT_STREQ(slot.szName, "zero");
    EXPECT_STREQ(slot.szSymbol, "s0");
    EXPECT_STREQ(slot.szText, "");
    EXPECT_EQ(Val(slot.wState), 3);
    EXPECT_EQ(Val(slot.dwFlags), kFlagData);
    EXPECT_EQ(Val(slot.wCount), 0);
  }
  for (int i : {2, 9}) {
    const t_subquantity& slot = quantity.aSubQuantity[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(Val(slot.lSubQuan), 12);
    EXPECT_STREQ(slot.szText, "");
    EXPECT_EQ(Val(slot.dwFlags), kFlagError | kFlagCalculated);
    EXPECT_EQ(Val(slot.wCount), 0);
  }
  for (int i : {3, 7}) {
    const t_subquantity& slot = quantity.aSubQuantity[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(Val(slot.lSubQuan), 13);
    EXPECT_STREQ(slot.szText, "t3");
    EXPECT_EQ(Val(slot.wState), 3);
    EXPECT_EQ(Val(slot.wCount), 0);
  }
  for (int i : {4, 5}) {
    const t_subquantity& slot = quantity.aSubQuantity[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(Val(slot.lSubQuan), i == 4 ? 14 : 19);
    EXPECT_STREQ(slot.szText, "t3");
    EXPECT_EQ(Val(slot.wCount), 2);
    EXPECT_EQ(Val(slot.awDevice[1]), 9);
    EXPECT_EQ(Val(slot.awIndex[1]), 10);
  }
  EXPECT_EQ(Val(contents.records[1]->wId), 2);
  EXPECT_STREQ(contents.records[1]->szName, "Current");
}

TEST(UdfReaderTest, PairCountAboveFiftyKeepsFiftyAndSkipsTheRest) {
  SubEntry crowded;
  crowded.number = 1;
  crowded.state = 3;
  for (int i = 0; i < 60; ++i) crowded.pairs.push_back({static_cast<uint16_t>(i), static_cast<uint16_t>(1000 + i)});
  SubEntry after;
  after.number = 2;
  after.name = "after";
  after.pairs = {{5, 6}};
  RecordImage image = RecordImage::Plain(1, "Speed", "v");
  image.slots[0] = crowded.Encode();
  image.slots[1] = after.Encode();
  RecordImage next = RecordImage::Plain(2, "Next", "n");
  next.state = 0x2;
  const UdfContents contents = Decode(Bytes().U16(2).Raw(image.Encode()).Raw(next.Encode()));

  ASSERT_EQ(contents.records.size(), 2u);
  const t_subquantity& slot = contents.records[0]->aSubQuantity[0];
  EXPECT_EQ(Val(slot.wCount), 50);
  EXPECT_EQ(Val(slot.awDevice[49]), 49);
  EXPECT_EQ(Val(slot.awIndex[49]), 1049);
  const t_subquantity& following = contents.records[0]->aSubQuantity[1];
  EXPECT_EQ(Val(following.lSubQuan), 2);
  EXPECT_STREQ(following.szName, "after");
  EXPECT_EQ(Val(following.wCount), 1);
  EXPECT_EQ(Val(following.awDevice[0]), 5);
  EXPECT_EQ(Val(contents.records[1]->wId), 2);
  EXPECT_STREQ(contents.records[1]->szName, "Next");
  EXPECT_EQ(Val(contents.records[1]->dwState), 2u);
}

TEST(UdfReaderTest, FewerUnitEntriesLeaveTheOtherUnitsInitial) {
  RecordImage image = RecordImage::Plain(1, "Mass", "m");
  image.unit_count = 2;
  image.units = {UnitEntry(1.0, 0.0, "kg", 1), UnitEntry(1000.0, 0.0, "g", 1)};
  image.slots[0] = SubEntry{4, 5, "slot", "s", "", 3, kFlagData, {}, -1}.Encode();
  const UdfContents contents = Decode(Bytes().U16(1).Raw(image.Encode()));
  ASSERT_EQ(contents.records.size(), 1u);
  const t_quantity& quantity = *contents.records[0];
  EXPECT_STREQ(quantity.aUnit[1].szText, "g");
  const t_quantity initial = Initial();
  for (int i = 2; i < kUnitSlots; ++i) EXPECT_TRUE(SameBytes(quantity.aUnit[i], initial.aUnit[i])) << i;
  EXPECT_EQ(Val(quantity.aSubQuantity[0].lSubQuan), 5);
  EXPECT_STREQ(quantity.aSubQuantity[0].szName, "slot");
}

TEST(UdfReaderTest, NegativeEntryCountsReadNoEntries) {
  RecordImage image = RecordImage::Plain(1, "Mass", "m");
  image.unit_count = -1;
  image.units.clear();
  image.slot_count = INT_MIN;
  image.slots.clear();
  RecordImage next = RecordImage::Plain(2, "Next", "n");
  const UdfContents contents = Decode(Bytes().U16(2).Raw(image.Encode()).Raw(next.Encode()));
  ASSERT_EQ(contents.records.size(), 2u);
  EXPECT_TRUE(SameBytes(contents.records[0]->aUnit, Initial().aUnit));
  EXPECT_EQ(Val(contents.records[1]->wId), 2);
}

TEST(UdfReaderTest, EntriesBeyondTenAreReadPastSoTheRestStaysInPlace) {
  // No writer stores more than ten entries; reading past the extra ones keeps
  // the slots and the next record where they belong.
  RecordImage image = RecordImage::Plain(1, "Mass", "m");
  image.unit_count = 12;
  image.units.push_back(UnitEntry(11.0, 0.0, "eleven", 1));
  image.units.push_back(OldUnitEntry(12.0f, 0.0f, "twelve", 1));
  image.slot_count = 11;
  image.slots.push_back(SubEntry{4, 99, "extra", "x", "", 3, 0, {{1, 2}}, -1}.Encode());
  image.slots[0] = SubEntry{4, 5, "slot", "s", "", 3, kFlagData, {}, -1}.Encode();
  const RecordImage next = RecordImage::Plain(2, "Next", "n");
  const UdfContents contents = Decode(Bytes().U16(2).Raw(image.Encode()).Raw(next.Encode()));
  ASSERT_EQ(contents.records.size(), 2u);
  const t_quantity& quantity = *contents.records[0];
  for (const t_quantityunit& unit : quantity.aUnit) EXPECT_STRNE(unit.szText, "eleven");
  EXPECT_EQ(Val(quantity.aSubQuantity[0].lSubQuan), 5);
  for (const t_subquantity& slot : quantity.aSubQuantity) EXPECT_NE(Val(slot.lSubQuan), 99);
  EXPECT_EQ(Val(contents.records[1]->wId), 2);
  EXPECT_STREQ(contents.records[1]->szName, "Next");
}

// ---------------------------------------------------------- damaged input

// Two records covering every entry version, with a value in every field, as
// a tracked image: each prefix of it tells which fields a reader can fill.
TrackedImage<t_quantity> TruncationImage() {
  TrackedImage<t_quantity> image;
  image.Raw(UdfHeader(2, 2, 1));

  // Record 0: current version with old unit and subquantity entries.
  image.StartRecord();
  image.Raw(Bytes().U16(2));
  image.Field<uint16_t>(offsetof(t_quantity, wId), 0x1234);
  image.Text(offsetof(t_quantity, szName), "Pressure", 41, 41);
  image.Text(offsetof(t_quantity, szSymbol), "p", 21, 21);
  image.Text(offsetof(t_quantity, szText), "p_abs", 21, 21);
  image.Field<uint32_t>(offsetof(t_quantity, dwState), 0x2);
  image.Field<uint32_t>(offsetof(t_quantity, dwUnit), 1);
  image.Raw(Bytes().I32(10));
  for (int u = 0; u < 10; ++u) {
    image.Raw(Bytes().U16(u == 1 ? 1 : 2));
    if (u == 1) {
      image.WidenedF32(UnitAt(u, offsetof(t_quantityunit, dFactor)), 1e-5f);
      image.WidenedF32(UnitAt(u, offsetof(t_quantityunit, dOffset)), 0.25f);
    } else {
      image.Field<double>(UnitAt(u, offsetof(t_quantityunit, dFactor)), u + 0.5);
      image.Field<double>(UnitAt(u, offsetof(t_quantityunit, dOffset)), -u - 0.75);
    }
    image.Text(UnitAt(u, offsetof(t_quantityunit, szText)), "unit" + std::to_string(u), 21, 21);
    image.Field<uint16_t>(UnitAt(u, offsetof(t_quantityunit, wState)), static_cast<uint16_t>(0x100 + u));
  }
  image.Raw(Bytes().I32(10));
  const uint16_t versions[10] = {4, 1, 2, 3, 4, 0, 4, 4, 4, 7};
  for (int s = 0; s < 10; ++s) {
    const uint16_t version = versions[s];
    image.Raw(Bytes().U16(version));
    // Old entries stand for the Data flag as soon as their version is known.
    if (version < 2) image.Implied<uint32_t>(SlotAt(s, offsetof(t_subquantity, dwFlags)), kFlagData, image.Position());
    image.Field<int32_t>(SlotAt(s, offsetof(t_subquantity, lSubQuan)), 100 + s);
    image.Text(SlotAt(s, offsetof(t_subquantity, szName)), "name" + std::to_string(s), 41, 41);
    image.Text(SlotAt(s, offsetof(t_subquantity, szSymbol)), "sym" + std::to_string(s), 21, 21);
    if (version >= 3) image.Text(SlotAt(s, offsetof(t_subquantity, szText)), "txt" + std::to_string(s), 21, 21);
    image.Field<uint16_t>(SlotAt(s, offsetof(t_subquantity, wState)), static_cast<uint16_t>(0x1000 + s));
    if (version >= 2) image.Field<uint32_t>(SlotAt(s, offsetof(t_subquantity, dwFlags)), 0x10000u << (s % 4));
    if (version < 4) continue;
    // Slot 4 declares 52 pairs: 50 are kept and 2 skipped.
    const int pairs = s == 4 ? 52 : s;
    image.Raw(Bytes().U16(static_cast<uint16_t>(pairs)));
    image.Implied<uint16_t>(SlotAt(s, offsetof(t_subquantity, wCount)), static_cast<uint16_t>(std::min(pairs, 50)),
                            image.Position());
    for (int p = 0; p < pairs; ++p) {
      if (p >= 50) {
        image.Raw(Bytes().U16(0xDEAD).U16(0xBEEF));
        continue;
      }
      image.Field<uint16_t>(SlotAt(s, offsetof(t_subquantity, awDevice)) + 2 * p, static_cast<uint16_t>(s * 100 + p));
      image.Field<uint16_t>(SlotAt(s, offsetof(t_subquantity, awIndex)) + 2 * p, static_cast<uint16_t>(p + 1));
    }
  }

  // Record 1: version 1 with binary32 units.
  image.StartRecord();
  image.Raw(Bytes().U16(1));
  image.Field<uint16_t>(offsetof(t_quantity, wId), 0x4321);
  image.Text(offsetof(t_quantity, szName), "Temperature", 41, 41);
  image.Text(offsetof(t_quantity, szSymbol), "ABCDEFGHIJK", 11, 21);
  image.Field<uint32_t>(offsetof(t_quantity, dwState), 0x3);
  image.Field<uint32_t>(offsetof(t_quantity, dwUnit), 2);
  image.Raw(Bytes().I32(10));
  for (int u = 0; u < 10; ++u) {
    image.Raw(Bytes().U16(0));
    image.WidenedF32(UnitAt(u, offsetof(t_quantityunit, dFactor)), 1.5f * static_cast<float>(u + 1));
    image.WidenedF32(UnitAt(u, offsetof(t_quantityunit, dOffset)), -273.15f);
    image.Text(UnitAt(u, offsetof(t_quantityunit, szText)), "K" + std::to_string(u), 21, 21);
    image.Field<uint16_t>(UnitAt(u, offsetof(t_quantityunit, wState)), 1);
  }
  image.Raw(Bytes().I32(10));
  for (int s = 0; s < 10; ++s) {
    image.Raw(Bytes().U16(4));
    image.Field<int32_t>(SlotAt(s, offsetof(t_subquantity, lSubQuan)), -s);
    image.Text(SlotAt(s, offsetof(t_subquantity, szName)), "", 41, 41);
    image.Text(SlotAt(s, offsetof(t_subquantity, szSymbol)), "", 21, 21);
    image.Text(SlotAt(s, offsetof(t_subquantity, szText)), "x", 21, 21);
    image.Field<uint16_t>(SlotAt(s, offsetof(t_subquantity, wState)), 1);
    image.Field<uint32_t>(SlotAt(s, offsetof(t_subquantity, dwFlags)), kFlagSet);
    image.Field<uint16_t>(SlotAt(s, offsetof(t_subquantity, wCount)), 1);
    image.Field<uint16_t>(SlotAt(s, offsetof(t_subquantity, awDevice)), 9);
    image.Field<uint16_t>(SlotAt(s, offsetof(t_subquantity, awIndex)), 8);
  }
  return image;
}

TEST(UdfDamagedInputTest, EveryTruncationKeepsUnreadFieldsInitial) {
  const TrackedImage<t_quantity> image = TruncationImage();
  const t_quantity initial = Initial();
  ASSERT_EQ(image.RecordCount(), 2u);

  // The whole image first: every field as stored.
  const UdfContents whole = Decode(image.bytes());
  ASSERT_EQ(whole.records.size(), 2u);
  EXPECT_EQ(Val(whole.records[0]->aSubQuantity[4].wCount), 50);
  EXPECT_STREQ(whole.records[1]->szSymbol, "ABCDEFGHIJ");

  for (size_t length = 0; length <= image.size(); ++length) {
    const UdfContents contents = Decode(image.bytes().substr(0, length));
    ASSERT_EQ(contents.records.size(), image.RecordsStartedIn(length)) << "prefix of " << length << " bytes";
    EXPECT_EQ(contents.has_header, length >= 2) << length;
    ASSERT_EQ(contents.unit_format, length >= 10 ? 2 : -1) << length;
    ASSERT_EQ(contents.text_mode, length >= 12 ? 1 : 0xFFFF) << length;
    for (size_t r = 0; r < contents.records.size(); ++r) {
      ASSERT_TRUE(SameBytes(*contents.records[r], image.Expected(r, length, initial)))
          << "record " << r << " after a prefix of " << length << " bytes";
    }
  }
}

TEST(UdfDamagedInputTest, CountOf65535InAHeaderOnlyFileGivesNoRecord) {
  const UdfContents contents = Decode(UdfHeader(65535, 1, 1));
  EXPECT_EQ(contents.declared_count, 65535u);
  EXPECT_TRUE(contents.records.empty());
  EXPECT_EQ(contents.records.capacity(), 0u);
}

TEST(UdfDamagedInputTest, OldCountBeyondTheBytesGivesOnlyTheRecordsThatStart) {
  const UdfContents contents = Decode(Bytes().U16(65534).Raw(RecordImage::Plain(4, "one", "1").Encode()));
  ASSERT_EQ(contents.records.size(), 1u);
  EXPECT_EQ(Val(contents.records[0]->wId), 4);
}

TEST(UdfDamagedInputTest, TextsWithoutTerminatorAreCutInsideTheirWidth) {
  RecordImage image = RecordImage::Plain(1, std::string(41, 'N'), std::string(21, 'S'));
  image.text = std::string(21, 'T');
  image.state = 0x2;
  image.units[0] = UnitEntry(1.0, 0.0, std::string(21, 'U'), 1);
  image.slots[0] = SubEntry{4, 1, std::string(41, 'n'), std::string(21, 's'), std::string(21, 't'), 0x3, 0, {}, -1}.Encode();
  image.slots[1] = SubEntry{2, 2, std::string(41, 'm'), std::string(21, 'r'), "", 0x3, 0, {}, -1}.Encode();
  const UdfContents contents = Decode(Bytes().U16(1).Raw(image.Encode()));
  ASSERT_EQ(contents.records.size(), 1u);
  const t_quantity& quantity = *contents.records[0];
  EXPECT_EQ(std::string(quantity.szName), std::string(40, 'N'));
  EXPECT_EQ(std::string(quantity.szSymbol), std::string(20, 'S'));
  EXPECT_EQ(std::string(quantity.szText), std::string(20, 'T'));
  EXPECT_EQ(Val(quantity.dwState), 2u);
  EXPECT_EQ(std::string(quantity.aUnit[0].szText), std::string(20, 'U'));
  EXPECT_EQ(Val(quantity.aUnit[0].wState), 1);
  const t_subquantity& slot = quantity.aSubQuantity[0];
  EXPECT_EQ(std::string(slot.szName), std::string(40, 'n'));
  EXPECT_EQ(std::string(slot.szSymbol), std::string(20, 's'));
  EXPECT_EQ(std::string(slot.szText), std::string(20, 't'));
  EXPECT_EQ(Val(slot.wState), 3);
  EXPECT_EQ(std::string(quantity.aSubQuantity[1].szName), std::string(40, 'm'));
  EXPECT_EQ(std::string(quantity.aSubQuantity[1].szSymbol), std::string(20, 'r'));
}

TEST(UdfDamagedInputTest, HugeEntryCountsStopAtTheEndOfTheBytes) {
  RecordImage image = RecordImage::Plain(1, "Mass", "m");
  image.unit_count = INT_MAX;
  image.units = {UnitEntry(1.0, 0.0, "kg", 1), UnitEntry(0.001, 0.0, "t", 1)};
  image.slot_count = INT_MAX;
  image.slots.clear();
  const UdfContents contents = Decode(Bytes().U16(1).Raw(image.Encode()));
  ASSERT_EQ(contents.records.size(), 1u);
  EXPECT_STREQ(contents.records[0]->aUnit[1].szText, "t");
  // The slot count behind the two entries starts a third one, which runs out.
  const t_quantity initial = Initial();
  EXPECT_TRUE(SameBytes(contents.records[0]->aUnit[2], initial.aUnit[2]));
  EXPECT_TRUE(SameBytes(contents.records[0]->aSubQuantity, initial.aSubQuantity));
}

TEST(UdfDamagedInputTest, PairCountOf65535InAShortEntryKeepsWhatIsThere) {
  SubEntry slot;
  slot.number = 1;
  slot.pairs = {{1, 2}, {3, 4}, {5, 6}};
  slot.declared_pairs = 65535;
  RecordImage image = RecordImage::Plain(1, "Mass", "m");
  image.slots = {slot.Encode()};
  image.slot_count = 1;
  const UdfContents contents = Decode(Bytes().U16(1).Raw(image.Encode()));
  ASSERT_EQ(contents.records.size(), 1u);
  const t_subquantity& read = contents.records[0]->aSubQuantity[0];
  EXPECT_EQ(Val(read.wCount), 50);
  EXPECT_EQ(Val(read.awDevice[2]), 5);
  EXPECT_EQ(Val(read.awIndex[2]), 6);
  EXPECT_EQ(Val(read.awDevice[3]), 0);
}

TEST(UdfDamagedInputTest, EmptyInputGivesNoHeaderAndNoRecord) {
  const UdfContents contents = Decode(std::string());
  EXPECT_FALSE(contents.has_header);
  EXPECT_EQ(contents.declared_count, 0u);
  EXPECT_TRUE(contents.records.empty());
  ByteReader null_reader(nullptr, 100);
  EXPECT_TRUE(DecodeUdf(null_reader).records.empty());
}

}  // namespace
}  // namespace units
