#include "language/mo_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "language/mo_builder.h"

namespace units {
namespace language {
namespace {

using testing::BuildMo;
using testing::MoBytes;
using testing::MoMessage;
using testing::PutMoWord;

using namespace std::string_literals;

std::vector<MoMessage> Messages() {
  return {
      {"", "Content-Type: text/plain; charset=UTF-8\n"},
      {"Length", "L\xC3\xA4nge"},
      {"Time", "Zeit"},
      {"file\0files"s, "Datei\0Dateien"s},
      {"menu\x04Open", "\xC3\x96" "ffnen"},
      {"Untranslated", ""},
  };
}

std::string ParseError(const std::string& bytes) {
  MoCatalogue catalogue;
  std::string error;
  EXPECT_FALSE(catalogue.Parse(MoBytes(bytes), &error));
  EXPECT_TRUE(catalogue.empty());
  return error;
}

class MoByteOrderTest : public ::testing::TestWithParam<bool> {};

TEST_P(MoByteOrderTest, FindsTranslationsOfPlainTexts) {
  MoCatalogue catalogue;
  std::string error;
  ASSERT_TRUE(catalogue.Parse(MoBytes(BuildMo(Messages(), GetParam())), &error)) << error;
  EXPECT_STREQ(catalogue.Find("Time"), "Zeit");
  EXPECT_STREQ(catalogue.Find("Length"), "L\xC3\xA4nge");
  EXPECT_EQ(catalogue.Find("Tim"), nullptr);
  EXPECT_EQ(catalogue.Find("Times"), nullptr);
  EXPECT_EQ(catalogue.Find("time"), nullptr);
}

TEST_P(MoByteOrderTest, PluralEntryAnswersTheSingularWithTheFirstForm) {
  MoCatalogue catalogue;
  ASSERT_TRUE(catalogue.Parse(MoBytes(BuildMo(Messages(), GetParam())), nullptr));
  EXPECT_STREQ(catalogue.Find("file"), "Datei");
  EXPECT_EQ(catalogue.Find("files"), nullptr);
}

TEST_P(MoByteOrderTest, HeaderContextsAndEmptyTranslationsAreNoTranslations) {
  MoCatalogue catalogue;
  ASSERT_TRUE(catalogue.Parse(MoBytes(BuildMo(Messages(), GetParam())), nullptr));
  // The header's msgid is "": an empty text must not come back as the header.
  EXPECT_EQ(catalogue.Find(""), nullptr);
  EXPECT_EQ(catalogue.Find("Open"), nullptr);
  EXPECT_EQ(catalogue.Find("menu\x04Open"), nullptr);
  EXPECT_EQ(catalogue.Find("Untranslated"), nullptr);
  EXPECT_EQ(catalogue.entries().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, MoByteOrderTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param_info) {
                           return std::string(param_info.param ? "BigEndian" : "LittleEndian");
                         });

TEST(MoCatalogueTest, UnsortedTablesAreFoundAndTheFirstDuplicateWins) {
  MoCatalogue catalogue;
  ASSERT_TRUE(catalogue.Parse(MoBytes(BuildMo({{"b", "2"}, {"c", "3"}, {"a", "1"}, {"b", "second"}})), nullptr));
  EXPECT_STREQ(catalogue.Find("a"), "1");
  EXPECT_STREQ(catalogue.Find("b"), "2");
  EXPECT_STREQ(catalogue.Find("c"), "3");
  EXPECT_EQ(catalogue.entries().size(), 3u);
}

TEST(MoCatalogueTest, TranslationsStayPutWhenTheCatalogueMoves) {
  MoCatalogue catalogue;
  ASSERT_TRUE(catalogue.Parse(MoBytes(BuildMo({{"Time", "Zeit"}})), nullptr));
  const char* before = catalogue.Find("Time");
  MoCatalogue moved = std::move(catalogue);
  EXPECT_EQ(moved.Find("Time"), before);
  EXPECT_STREQ(before, "Zeit");
}

TEST(MoCatalogueTest, AcceptsRevisionOneAndNoEntries) {
  std::string bytes = BuildMo({{"Time", "Zeit"}});
  PutMoWord(&bytes, 4, 0x00010001, false);
  MoCatalogue catalogue;
  ASSERT_TRUE(catalogue.Parse(MoBytes(bytes), nullptr));
  EXPECT_STREQ(catalogue.Find("Time"), "Zeit");
  ASSERT_TRUE(catalogue.Parse(MoBytes(BuildMo({})), nullptr));
  EXPECT_TRUE(catalogue.empty());
}

TEST(MoCatalogueTest, RejectsWhatIsNotACatalogue) {
  EXPECT_EQ(ParseError(""), "header: shorter than 28 bytes");
  EXPECT_EQ(ParseError(BuildMo({}).substr(0, 27)), "header: shorter than 28 bytes");
  std::string bytes = BuildMo({{"Time", "Zeit"}});
  bytes[0] = '\x00';
  EXPECT_EQ(ParseError(bytes), "magic: not a gettext catalogue");
  bytes = BuildMo({{"Time", "Zeit"}});
  PutMoWord(&bytes, 4, 0x00020000, false);
  EXPECT_EQ(ParseError(bytes), "revision: unknown major revision");
}

TEST(MoCatalogueTest, EveryTruncationIsRejected) {
  // The last byte of a file is the NUL after its last string, so every
  // shorter prefix lacks something the tables promise.
  for (const bool big_endian : {false, true}) {
    const std::string bytes = BuildMo(Messages(), big_endian);
    for (size_t length = 0; length < bytes.size(); ++length) {
      MoCatalogue catalogue;
      EXPECT_FALSE(catalogue.Parse(MoBytes(bytes.substr(0, length)), nullptr)) << length;
    }
  }
}

TEST(MoCatalogueTest, RejectsTablesPastTheEnd) {
  const std::vector<MoMessage> messages = {{"Time", "Zeit"}};
  std::string bytes = BuildMo(messages);
  PutMoWord(&bytes, 8, 0xFFFFFFFF, false);  // a count no file can hold
  EXPECT_EQ(ParseError(bytes), "original table: past the end of the file");
  bytes = BuildMo(messages);
  PutMoWord(&bytes, 8, 0x20000000, false);  // count * 8 wraps to 0 in 32 bits
  EXPECT_EQ(ParseError(bytes), "original table: past the end of the file");
  bytes = BuildMo(messages);
  PutMoWord(&bytes, 12, 0xFFFFFFFC, false);  // offset + 8 wraps in 32 bits
  EXPECT_EQ(ParseError(bytes), "original table: past the end of the file");
  bytes = BuildMo(messages);
  PutMoWord(&bytes, 16, static_cast<uint32_t>(bytes.size() - 7), false);
  EXPECT_EQ(ParseError(bytes), "translation table: past the end of the file");
}

TEST(MoCatalogueTest, RejectsStringsPastTheEndOrWithoutTerminator) {
  const std::vector<MoMessage> messages = {{"Time", "Zeit"}, {"Length", "Laenge"}};
  const size_t translations = testing::MoTranslationTable(messages.size());
  std::string bytes = BuildMo(messages);
  const uint32_t size = static_cast<uint32_t>(bytes.size());
  PutMoWord(&bytes, testing::kMoOriginalTable + 8 + 4, size, false);  // offset at the end
  EXPECT_EQ(ParseError(bytes), "original string 1: past the end of the file or not terminated");
  bytes = BuildMo(messages);
  PutMoWord(&bytes, translations, 0xFFFFFFFF, false);  // length
  PutMoWord(&bytes, translations + 4, 0xFFFFFFFF, false);  // offset: sum wraps in 32 bits
  EXPECT_EQ(ParseError(bytes), "translation 0: past the end of the file or not terminated");
  bytes = BuildMo(messages);
  PutMoWord(&bytes, translations + 8, 7, false);  // "Laenge" and its NUL, then the length one too far
  EXPECT_EQ(ParseError(bytes), "translation 1: past the end of the file or not terminated");
  bytes = BuildMo(messages);
  PutMoWord(&bytes, testing::kMoOriginalTable, 3, false);  // "Tim" followed by 'e', not NUL
  EXPECT_EQ(ParseError(bytes), "original string 0: past the end of the file or not terminated");
}

TEST(MoCatalogueTest, RefusesFilesAboveTheCap) {
  std::string bytes = BuildMo({{"Time", "Zeit"}});
  bytes.resize(MoCatalogue::kMaxFileSize + 1, '\0');
  EXPECT_EQ(ParseError(bytes), "file size: above the limit");
  bytes.resize(MoCatalogue::kMaxFileSize);
  MoCatalogue catalogue;
  EXPECT_TRUE(catalogue.Parse(MoBytes(bytes), nullptr));
}

TEST(MoCatalogueTest, FailedParseLeavesNothingOfTheOldCatalogue) {
  MoCatalogue catalogue;
  ASSERT_TRUE(catalogue.Parse(MoBytes(BuildMo({{"Time", "Zeit"}})), nullptr));
  EXPECT_FALSE(catalogue.Parse(MoBytes("garbage"), nullptr));
  EXPECT_EQ(catalogue.Find("Time"), nullptr);
}

TEST(MoCatalogueTest, DamagedBytesNeverGiveInconsistentEntries) {
  // Every byte of a small file set to each of a few telling values; what
  // parses must answer every key it lists with the value it lists, and every
  // value must be a terminated string (the sanitizer build checks the reads).
  const std::string original = BuildMo(Messages(), false);
  for (size_t position = 0; position < original.size(); ++position) {
    for (const char value : {'\x00', '\x01', '\x7F', '\x80', '\xFF'}) {
      std::string bytes = original;
      bytes[position] = value;
      MoCatalogue catalogue;
      if (!catalogue.Parse(MoBytes(bytes), nullptr)) continue;
      for (const MoCatalogue::Entry& entry : catalogue.entries()) {
        EXPECT_FALSE(entry.key.empty());
        EXPECT_EQ(catalogue.Find(entry.key), entry.value);
        EXPECT_LT(std::strlen(entry.value), bytes.size());
      }
    }
  }
}

}  // namespace
}  // namespace language
}  // namespace units
