#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/quantity.h"
#include "groups/group_model.h"
#include "storage/byte_io.h"
#include "storage/fdf_format.h"
#include "stored_bytes.h"

namespace units {
namespace {

using testing::Bytes;
using testing::ConditionImage;
using testing::FdfHeader;
using testing::GroupEntryImage;
using testing::I32At;
using testing::SameBytes;
using testing::TextAt;
using testing::TrackedImage;
using testing::U16At;
using testing::U32At;
using testing::Val;

constexpr size_t ConditionAt(int c, size_t field) {
  return offsetof(t_FilterEntry, aCondition) + c * sizeof(t_FilterCondition) + field;
}

FdfContents Decode(const std::string& bytes) {
  // An exact-size heap copy lets AddressSanitizer see a read past the end.
  std::vector<unsigned char> copy(bytes.begin(), bytes.end());
  ByteReader reader(copy.data(), copy.size());
  return DecodeFdf(reader);
}

std::string Encode(const t_FilterEntry& entry) {
  std::string bytes;
  ByteWriter writer(&bytes);
  WriteGroupEntry(writer, entry);
  return bytes;
}

t_FilterEntry InitialEntry() {
  t_FilterEntry entry;
  InitFilterEntry(&entry);
  return entry;
}

t_FilterCondition ToCondition(const ConditionImage& image) {
  t_FilterCondition condition;
  condition.wQuantity = image.quantity;
  condition.lSubQuan = image.subquantity;
  condition.dwFlagValue = image.flag_value;
  condition.wDevice = image.device;
  condition.wIndex = image.index;
  condition.wTests = image.tests;
  condition.dwFlagMask = image.flag_mask;
  return condition;
}

// Three conditions in use and one unused condition that still holds data:
// the writer stores all hundred.
std::vector<ConditionImage> SampleConditions() {
  std::vector<ConditionImage> conditions(100);
  conditions[0] = {0x0102, 3, kFlagData, 2, 1, 0x1F, kFlagData | kFlagSet};
  conditions[1] = {7, -1, 0, 0, 0, kTestQuantity, 0};
  conditions[2] = {0xFFFF, INT_MAX, 0x80000, 65535, 65535, kTestDevice | kTestIndex, 0xFFFFFFFF};
  conditions[99] = {99, 99, 0x99, 9, 9, kTestSubQuantity, 0x9999};
  return conditions;
}

t_FilterEntry SampleEntry() {
  t_FilterEntry entry = InitialEntry();
  std::strcpy(entry.szName, "Pressures");
  entry.lCount = 3;
  const std::vector<ConditionImage> conditions = SampleConditions();
  for (int c = 0; c < 100; ++c) entry.aCondition[c] = ToCondition(conditions[c]);
  return entry;
}

std::string SampleImage(uint16_t version = 2) { return GroupEntryImage("Pressures", 3, SampleConditions(), version); }

// ---------------------------------------------------------------- writer

TEST(FdfWriterTest, EmptyGroupTableIsFourteenBytes) {
  const std::string bytes = EncodeFdf({}, 0);
  EXPECT_EQ(bytes, Bytes().I32(-1).U16(1).I32(0).I32(0).str());
  EXPECT_EQ(bytes.size(), 14u);
}

TEST(FdfWriterTest, GroupEntryIsTheDocumentedLayoutByteForByte) {
  const std::string bytes = Encode(SampleEntry());
  EXPECT_EQ(bytes.size(), 2306u);
  EXPECT_EQ(bytes, SampleImage());
}

TEST(FdfWriterTest, EntryFieldsAndConditionsSitAtTheirOffsets) {
  const std::string bytes = Encode(SampleEntry());
  EXPECT_EQ(U16At(bytes, 0), 2);
  EXPECT_EQ(TextAt(bytes, 2, 300), "Pressures");
  EXPECT_EQ(I32At(bytes, 302), 3);
  // Condition c at 306 + 20c.
  EXPECT_EQ(U16At(bytes, 306 + 0), 0x0102);
  EXPECT_EQ(I32At(bytes, 306 + 2), 3);
  EXPECT_EQ(U32At(bytes, 306 + 6), kFlagData);
  EXPECT_EQ(U16At(bytes, 306 + 10), 2);
  EXPECT_EQ(U16At(bytes, 306 + 12), 1);
  EXPECT_EQ(U16At(bytes, 306 + 14), 0x1F);
  EXPECT_EQ(U32At(bytes, 306 + 16), kFlagData | kFlagSet);
  EXPECT_EQ(U16At(bytes, 306 + 40), 0xFFFF);
  EXPECT_EQ(I32At(bytes, 306 + 42), INT_MAX);
  const size_t unused = 306 + 20 * 50;  // initial: every subquantity, nothing tested
  EXPECT_EQ(I32At(bytes, unused + 2), -1);
  EXPECT_EQ(U16At(bytes, unused + 14), 0);
  const size_t last = 306 + 20 * 99;
  EXPECT_EQ(U16At(bytes, last), 99);
  EXPECT_EQ(U16At(bytes, last + 14), kTestSubQuantity);
  EXPECT_EQ(U32At(bytes, last + 16), 0x9999u);
  EXPECT_EQ(last + 20, bytes.size());
}

TEST(FdfWriterTest, ConditionTableIsTheInMemoryArrayByteForByte) {
  const t_FilterEntry entry = SampleEntry();
  const std::string bytes = Encode(entry);
  ASSERT_EQ(bytes.size(), 306 + sizeof(entry.aCondition));
  EXPECT_EQ(std::memcmp(bytes.data() + 306, entry.aCondition, sizeof(entry.aCondition)), 0);
}

TEST(FdfWriterTest, FileHoldsEntriesInTableOrderThenTheIndex) {
  t_FilterEntry second = InitialEntry();
  std::strcpy(second.szName, "Second");
  const std::string bytes = EncodeFdf({SampleEntry(), second}, 2);
  EXPECT_EQ(bytes, FdfHeader(2) + SampleImage() + GroupEntryImage("Second", 0, {}) + Bytes().I32(2).str());
  EXPECT_EQ(bytes.size(), 10u + 2 * 2306 + 4);
  EXPECT_EQ(TextAt(bytes, 10 + 2306 + 2, 300), "Second");
  EXPECT_EQ(I32At(bytes, 10 + 2 * 2306), 2);
}

TEST(FdfWriterTest, BytesBehindTheNameTerminatorAreWrittenAsZeros) {
  t_FilterEntry entry = InitialEntry();
  std::memset(entry.szName, 'Z', sizeof(entry.szName) - 1);
  std::strcpy(entry.szName, "ab");
  EXPECT_EQ(Encode(entry).substr(2, 300), Bytes().Text("ab", 300).str());
}

// ---------------------------------------------------------------- reader

TEST(FdfReaderTest, CurrentEntryGivesEveryFieldAndCondition) {
  const FdfContents contents = Decode(FdfHeader(1) + SampleImage() + Bytes().I32(1).str());
  EXPECT_TRUE(contents.has_header);
  EXPECT_EQ(contents.declared_count, 1);
  ASSERT_EQ(contents.entries.size(), 1u);
  EXPECT_TRUE(SameBytes(contents.entries[0], SampleEntry()));
  EXPECT_EQ(contents.stored_index, 1);
}

TEST(FdfReaderTest, VersionOneEntryLacksOnlyTheLastMask) {
  for (uint16_t version : {0, 1}) {
    SCOPED_TRACE(version);
    const std::string old = SampleImage(version);
    ASSERT_EQ(old.size(), 2302u);
    const FdfContents contents =
        Decode(FdfHeader(2) + old + GroupEntryImage("After", 1, {{5, 6, 0, 0, 0, 1, 0}}) + Bytes().I32(2).str());
    ASSERT_EQ(contents.entries.size(), 2u);
    t_FilterEntry expected = SampleEntry();
    expected.aCondition[99].dwFlagMask = 0;
    EXPECT_TRUE(SameBytes(contents.entries[0], expected));
    EXPECT_EQ(Val(contents.entries[0].aCondition[99].wTests), kTestSubQuantity);
    EXPECT_STREQ(contents.entries[1].szName, "After");
    EXPECT_EQ(Val(contents.entries[1].aCondition[0].wQuantity), 5);
    EXPECT_EQ(contents.stored_index, 2);
  }
}

TEST(FdfReaderTest, VersionsAboveTwoReadAsVersionTwo) {
  for (uint16_t version : {3, 100, 0xFFFF}) {
    const FdfContents contents = Decode(FdfHeader(1) + SampleImage(version) + Bytes().I32(1).str());
    ASSERT_EQ(contents.entries.size(), 1u) << version;
    EXPECT_TRUE(SameBytes(contents.entries[0], SampleEntry())) << version;
    EXPECT_EQ(contents.stored_index, 1) << version;
  }
}

TEST(FdfReaderTest, FirstWordOtherThanMinusOneIsTheCountOfAnOldFile) {
  const FdfContents contents = Decode(Bytes().I32(2).str() + GroupEntryImage("A", 0, {}) +
                                      GroupEntryImage("B", 0, {}) + Bytes().I32(1).str());
  EXPECT_FALSE(contents.has_header);
  EXPECT_EQ(contents.declared_count, 2);
  ASSERT_EQ(contents.entries.size(), 2u);
  EXPECT_STREQ(contents.entries[0].szName, "A");
  EXPECT_STREQ(contents.entries[1].szName, "B");
  EXPECT_EQ(contents.stored_index, 1);
}

TEST(FdfReaderTest, MissingTrailingIndexIsReportedAsMissing) {
  const FdfContents old = Decode(Bytes().I32(1).str() + GroupEntryImage("A", 0, {}));
  EXPECT_EQ(old.entries.size(), 1u);
  EXPECT_EQ(old.stored_index, -999);
  const FdfContents current = Decode(FdfHeader(1) + GroupEntryImage("A", 0, {}) + Bytes().U16(1).str());
  EXPECT_EQ(current.entries.size(), 1u);
  EXPECT_EQ(current.stored_index, -999);
}

TEST(FdfReaderTest, ConditionCountOutsideTheTableIsClamped) {
  const std::pair<int32_t, int32_t> cases[] = {{-1, 0}, {INT_MIN, 0}, {0, 0}, {57, 57}, {100, 100}, {101, 100}, {INT_MAX, 100}};
  for (const auto& [stored, expected] : cases) {
    const FdfContents contents = Decode(FdfHeader(1) + GroupEntryImage("G", stored, {}) + Bytes().I32(0).str());
    ASSERT_EQ(contents.entries.size(), 1u);
    EXPECT_EQ(Val(contents.entries[0].lCount), expected) << "stored " << stored;
  }
}

TEST(FdfReaderTest, NameWithoutTerminatorIsCutInsideItsWidth) {
  const FdfContents contents = Decode(FdfHeader(1) + GroupEntryImage(std::string(300, 'g'), 4, {}) +
                                      Bytes().I32(1).str());
  ASSERT_EQ(contents.entries.size(), 1u);
  EXPECT_EQ(std::string(contents.entries[0].szName), std::string(299, 'g'));
  EXPECT_EQ(Val(contents.entries[0].lCount), 4);
  EXPECT_EQ(contents.stored_index, 1);
}

TEST(FdfReaderTest, NegativeCountReadsNoEntry) {
  const FdfContents contents = Decode(FdfHeader(-5) + Bytes().I32(1).str());
  EXPECT_TRUE(contents.entries.empty());
  const FdfContents old = Decode(Bytes().I32(-7).I32(0).str());
  EXPECT_FALSE(old.has_header);
  EXPECT_TRUE(old.entries.empty());
}

// ---------------------------------------------------------- damaged input

TEST(FdfDamagedInputTest, HugeCountInTwentyBytesAllocatesNoTable) {
  const std::string bytes = FdfHeader(INT_MAX) + Bytes().Fill(10, '\x07').str();
  ASSERT_EQ(bytes.size(), 20u);
  const FdfContents contents = Decode(bytes);
  EXPECT_EQ(contents.declared_count, INT_MAX);
  // Only the position whose first byte exists gets an entry.
  EXPECT_EQ(contents.entries.size(), 1u);
  EXPECT_LE(contents.entries.capacity(), 2u);
  EXPECT_EQ(contents.stored_index, -999);
}

TEST(FdfDamagedInputTest, EmptyInputGivesNothing) {
  const FdfContents contents = Decode(std::string());
  EXPECT_FALSE(contents.has_header);
  EXPECT_EQ(contents.declared_count, 0);
  EXPECT_TRUE(contents.entries.empty());
  EXPECT_EQ(contents.stored_index, -999);
}

// A current entry and a version-1 entry with a value in every condition
// field, then the index, tracked field by field.
TrackedImage<t_FilterEntry> TruncationImage() {
  TrackedImage<t_FilterEntry> image;
  image.Raw(FdfHeader(2));
  for (int e = 0; e < 2; ++e) {
    const uint16_t version = e == 0 ? 2 : 1;
    image.StartRecord();
    image.Raw(Bytes().U16(version));
    image.Text(offsetof(t_FilterEntry, szName), "group" + std::to_string(e), 300, 300);
    image.Field<int32_t>(offsetof(t_FilterEntry, lCount), 40 + e);
    for (int c = 0; c < 100; ++c) {
      const uint16_t base = static_cast<uint16_t>(1000 * e + c);
      image.Field<uint16_t>(ConditionAt(c, offsetof(t_FilterCondition, wQuantity)), base);
      image.Field<int32_t>(ConditionAt(c, offsetof(t_FilterCondition, lSubQuan)), -2 - c);
      image.Field<uint32_t>(ConditionAt(c, offsetof(t_FilterCondition, dwFlagValue)), 0x100u + c);
      image.Field<uint16_t>(ConditionAt(c, offsetof(t_FilterCondition, wDevice)), static_cast<uint16_t>(base + 1));
      image.Field<uint16_t>(ConditionAt(c, offsetof(t_FilterCondition, wIndex)), static_cast<uint16_t>(base + 2));
      image.Field<uint16_t>(ConditionAt(c, offsetof(t_FilterCondition, wTests)), static_cast<uint16_t>(c % 32));
      if (version >= 2 || c < 99) {
        image.Field<uint32_t>(ConditionAt(c, offsetof(t_FilterCondition, dwFlagMask)), 0xF00u + c);
      }
    }
  }
  image.Raw(Bytes().I32(2));
  return image;
}

TEST(FdfDamagedInputTest, EveryTruncationKeepsUnreadFieldsInitial) {
  const TrackedImage<t_FilterEntry> image = TruncationImage();
  ASSERT_EQ(image.size(), 10u + 2306 + 2302 + 4);
  const t_FilterEntry initial = InitialEntry();
  for (size_t length = 0; length <= image.size(); ++length) {
    const FdfContents contents = Decode(image.bytes().substr(0, length));
    ASSERT_EQ(contents.entries.size(), image.RecordsStartedIn(length)) << "prefix of " << length << " bytes";
    ASSERT_EQ(contents.has_header, length >= 4) << length;
    ASSERT_EQ(contents.stored_index, length == image.size() ? 2 : -999) << length;
    for (size_t e = 0; e < contents.entries.size(); ++e) {
      ASSERT_TRUE(SameBytes(contents.entries[e], image.Expected(e, length, initial)))
          << "entry " << e << " after a prefix of " << length << " bytes";
    }
  }
}

}  // namespace
}  // namespace units
