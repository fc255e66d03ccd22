#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "language.h"
#include "language/catalogue_file.h"
#include "language/translator.h"

namespace units {
namespace language {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Messages = std::vector<std::pair<std::string, std::string>>;
using Environment = std::map<std::string, std::string>;

void PutWord(std::string* bytes, size_t offset, uint32_t value, bool big_endian = false) {
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<char>(value >> (big_endian ? 24 - 8 * i : 8 * i));
}

// A .mo file as msgfmt lays it out: header, original table at 28, translation
// table, no hash table, then each string followed by a NUL.
std::string BuildMo(const Messages& messages, bool big_endian = false) {
  const auto count = static_cast<uint32_t>(messages.size());
  std::string bytes(28 + 16 * count, '\0');
  const uint32_t header[7] = {0x950412de, 0, count, 28, 28 + 8 * count, 0, 28 + 16 * count};
  for (size_t i = 0; i < 7; ++i) PutWord(&bytes, 4 * i, header[i], big_endian);
  for (size_t slot = 0; slot < 2 * count; ++slot) {
    const std::string& text = slot < count ? messages[slot].first : messages[slot - count].second;
    PutWord(&bytes, 28 + 8 * slot, static_cast<uint32_t>(text.size()), big_endian);
    PutWord(&bytes, 32 + 8 * slot, static_cast<uint32_t>(bytes.size()), big_endian);
    bytes += text + '\0';
  }
  return bytes;
}

bool Parse(MoCatalogue* catalogue, const std::string& bytes, std::string* error = nullptr) {
  return catalogue->Parse(std::vector<char>(bytes.begin(), bytes.end()), error);
}

const Messages kMessages = {{"", "Content-Type: text/plain; charset=UTF-8\n"}, {"Time", "Zeit"},
                            {"file\0files"s, "Datei\0Dateien"s}, {"menu\x04Open", "\xC3\x96" "ffnen"},
                            {"Untranslated", ""}, {"b", "1"}, {"a", "2"}, {"b", "second"}};

class MoByteOrderTest : public ::testing::TestWithParam<bool> {};

TEST_P(MoByteOrderTest, FindsTheFirstFormOfPlainTextsOnly) {
  MoCatalogue catalogue;
  std::string bytes = BuildMo(kMessages, GetParam());
  PutWord(&bytes, 4, 0x00010001, GetParam());  // revision 1.1 only adds tables we need not read
  ASSERT_TRUE(Parse(&catalogue, bytes));
  const std::pair<const char*, const char*> cases[] = {
      {"Time", "Zeit"}, {"file", "Datei"}, {"a", "2"}, {"b", "1"},  // unsorted table, first duplicate wins
      {"Tim", nullptr}, {"time", nullptr}, {"files", nullptr}, {"", nullptr}, {"Open", nullptr},
      {"menu\x04Open", nullptr}, {"Untranslated", nullptr},
  };
  for (const auto& [key, value] : cases) EXPECT_STREQ(catalogue.Find(key), value) << key;
  // Answers point into the catalogue's bytes, which must not move with it.
  const char* before = catalogue.Find("Time");
  EXPECT_EQ(MoCatalogue(std::move(catalogue)).Find("Time"), before);
  // Every prefix of the file lacks something its tables promise.
  for (size_t length = 0; length < bytes.size(); ++length) EXPECT_FALSE(Parse(&catalogue, bytes.substr(0, length)));
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, MoByteOrderTest, ::testing::Values(false, true));

TEST(MoCatalogueTest, NamesTheFieldOfEveryInconsistency) {
  // Time/Length: tables at 28 and 44, strings from 60; the file has 84 bytes.
  const Messages messages = {{"Time", "Zeit"}, {"Length", "Laenge"}};
  const std::pair<std::vector<std::pair<size_t, uint32_t>>, const char*> cases[] = {
      {{{0, 0}}, "magic: not a gettext catalogue"},
      {{{4, 0x00020000}}, "revision: unknown major revision"},
      {{{8, 0xFFFFFFFF}}, "original table: past the end of the file"},
      {{{8, 0x20000000}}, "original table: past the end of the file"},   // count * 8 wraps in 32 bits
      {{{12, 0xFFFFFFFC}}, "original table: past the end of the file"},  // offset + 8 wraps
      {{{16, 69}}, "translation table: past the end of the file"},
      {{{40, 84}}, "original string 1: past the end of the file or not terminated"},
      {{{28, 3}}, "original string 0: past the end of the file or not terminated"},  // "Tim", then 'e'
      {{{44, 0xFFFFFFFF}, {48, 0xFFFFFFFF}}, "translation 0: past the end of the file or not terminated"},
      {{{52, 7}}, "translation 1: past the end of the file or not terminated"},
  };
  MoCatalogue catalogue;
  std::string error;
  for (const auto& [patches, expected] : cases) {
    std::string bytes = BuildMo(messages);
    for (const auto& [offset, value] : patches) PutWord(&bytes, offset, value);
    EXPECT_TRUE(Parse(&catalogue, BuildMo(messages)) && !Parse(&catalogue, bytes, &error));
    EXPECT_EQ(error, expected);
    EXPECT_TRUE(catalogue.empty()) << "a failed parse keeps nothing of the old catalogue";
  }
  EXPECT_TRUE(Parse(&catalogue, BuildMo({}))) << "empty tables that end where the file ends";
  EXPECT_FALSE(Parse(&catalogue, BuildMo({}).substr(0, 27), &error));
  EXPECT_EQ(error, "header: shorter than 28 bytes");
  const std::string largest = BuildMo(messages) + std::string(MoCatalogue::kMaxFileSize - 84, '\0');
  EXPECT_TRUE(Parse(&catalogue, largest));
  EXPECT_FALSE(Parse(&catalogue, largest + '\0', &error));
  EXPECT_EQ(error, "file size: above the limit");
}

TEST(CatalogueFileTest, ReadsRegularFilesUpToTheLimitOnly) {
  const std::string folder = ::testing::TempDir() + "language_file_" + std::to_string(getpid()) + "/";
  fs::create_directories(folder + "dir.mo");
  std::ofstream(folder + "a.mo") << "\xDE\x12\x04\x95";
  std::vector<std::pair<const char*, FileRead>> cases = {{"a.mo", FileRead::kRejected},  // one byte above the limit
                                                         {"dir.mo", FileRead::kRejected},
                                                         {"none.mo", FileRead::kMissing},
                                                         {"a.mo/x.mo", FileRead::kMissing}};
#if !defined(_WIN32)
  ASSERT_EQ(mkfifo((folder + "fifo.mo").c_str(), 0600), 0);  // a plain open() would block
  cases.emplace_back("fifo.mo", FileRead::kRejected);
#endif
  std::vector<char> bytes;
  std::string error;
  ASSERT_EQ(ReadCatalogueFile(folder + "a.mo", 4, &bytes, &error), FileRead::kOk);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "\xDE\x12\x04\x95");
  for (const auto& [name, want] : cases) EXPECT_EQ(ReadCatalogueFile(folder + name, 3, &bytes, &error), want) << name;
  fs::remove_all(folder);
}

EnvironmentLookup LookupIn(const Environment& environment) {
  return [&environment](const char* name) -> const char* {
    const auto it = environment.find(name);
    return it == environment.end() ? nullptr : it->second.c_str();
  };
}

TEST(LocaleNameTest, FirstSetVariableInOrderWins) {
  Environment environment = {{"UNITS_LANG", "de"}, {"LANGUAGE", "::fr:it"}, {"LC_ALL", "it_IT.UTF-8"},
                             {"LC_MESSAGES", "es"}, {"LANG", "nl"}, {"LC_NUMERIC", "pt"}};
  const std::pair<const char*, const char*> order[] = {
      {"UNITS_LANG", "de"}, {"LANGUAGE", "fr"}, {"LC_ALL", "it_IT.UTF-8"}, {"LC_MESSAGES", "es"}, {"LANG", "nl"}};
  for (const auto& [variable, value] : order) {
    EXPECT_EQ(ChooseLocaleName(LookupIn(environment)), value);
    environment[variable] = "";  // empty counts as unset
  }
  EXPECT_EQ(ChooseLocaleName(LookupIn(environment)), "");  // LC_NUMERIC never decides
  EXPECT_EQ(ChooseLocaleName(LookupIn({{"LANGUAGE", ":::"}, {"LANG", "it"}})), "it");
  EXPECT_EQ(ChooseLocaleName(LookupIn({{"UNITS_LANG", "C"}, {"LANG", "de"}})), "C");
  EXPECT_EQ(ChooseLocaleName(LookupIn({{"UNITS_LANG", "fr:de"}})), "fr:de");  // only LANGUAGE is a list
}

TEST(LocaleNameTest, FoldersGoFromMostToLeastSpecificAndNeverLeaveTheRoot) {
  using Folders = std::vector<std::string>;
  EXPECT_EQ(CatalogueFolders("de_DE.UTF-8@euro"), (Folders{"de_DE@euro", "de@euro", "de_DE", "de"}));
  EXPECT_EQ(CatalogueFolders("sr@latin"), (Folders{"sr@latin", "sr"}));
  EXPECT_EQ(CatalogueFolders("az_ZA-09"), (Folders{"az_ZA-09", "az"}));  // the ends of every range
  EXPECT_EQ(CatalogueFolders("de.ISO-8859-1"), (Folders{"de"}));
  EXPECT_EQ(CatalogueFolders(std::string(128, 'd')), (Folders{std::string(128, 'd')}));
  for (const std::string& name : Folders{"", "C", "POSIX", "C.UTF-8", "POSIX@x", "..", "../de", "de/../../x",
                                         "de_DE/x", "de@x/y", "/tmp/de", "de_", "_DE", "de@", "d e", "de\\x",
                                         std::string(129, 'd')}) {
    EXPECT_TRUE(CatalogueFolders(name).empty()) << name;
  }
}

// A locale folder per test and an environment the test controls.
class TranslatorTest : public ::testing::Test {
 protected:
  void TearDown() override { fs::remove_all(folder_); }
  void Write(const std::string& language, const std::string& bytes) {
    fs::create_directories(folder_ + "/locale/" + language + "/LC_MESSAGES");
    std::ofstream(folder_ + "/locale/" + language + "/LC_MESSAGES/units.mo", std::ios::binary) << bytes;
  }
  const char* Get(const char* text) { return translator_.Get(text, 1); }

  std::string folder_ = ::testing::TempDir() + "language_" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name() + std::to_string(getpid());
  Environment environment_;
  std::string reports_;
  Translator translator_{folder_ + "/locale/", LookupIn(environment_),
                         [this](const std::string& line) { reports_ += line + "\n"; }};
};

TEST_F(TranslatorTest, DeviceKeysAndOverrides) {
  Write("de", BuildMo({{"Time", "Zeit"}, {"Dev1", "Pr\xC3\xBC" "fstand"}}));
  environment_["UNITS_LANG"] = "de";
  for (const char* key : {"Dev0", "Dev42", "Dev-1"}) EXPECT_STREQ(Get(key), LANG_NO_DEVICE_NAME) << key;
  // Only what "Dev%i" makes is a device key; anything else is its own text.
  for (const char* text : {"Dev", "Dev-", "Dev1a", "Dev 1", "dev1", "Device1", "XDev1", "Dev+1", "", "Unknown"}) {
    EXPECT_EQ(Get(text), text) << text;
  }
  EXPECT_STREQ(Get("Dev1"), "Pr\xC3\xBC" "fstand");
  translator_.Set("Dev3", "Logger");
  translator_.Set("Time", "Dauer");
  EXPECT_STREQ(Get("Dev3"), "Logger");
  const char* answer = Get("Time");
  translator_.Set("Time", "Uhrzeit");
  translator_.Set("Time", nullptr);
  EXPECT_STREQ(answer, "Dauer") << "the last answer stays readable until the next Get";
  for (const char* key : {"Dev3", "Unset", static_cast<const char*>(nullptr)}) translator_.Set(key, nullptr);
  EXPECT_STREQ(Get("Dev3"), LANG_NO_DEVICE_NAME);
  EXPECT_STREQ(Get("Time"), "Zeit");
}

TEST_F(TranslatorTest, FollowsTheEnvironmentToTheMostSpecificSoundCatalogue) {
  Write("de", BuildMo({{"Time", "Zeit"}, {"Length", "L\xC3\xA4nge"}}));
  Write("de_AT", BuildMo({{"Time", "Zeit (AT)"}}));
  Write("de_CH", BuildMo({{"Time", "Zyt"}}).substr(0, 52));  // damaged: reported, then the next folder
  Write("fr", BuildMo({{"Time", "Temps"}}));
  const std::pair<const char*, const char*> steps[] = {
      {"de", "Zeit"}, {"fr_FR.UTF-8", "Temps"}, {"de_AT.UTF-8", "Zeit (AT)"}, {"de_CH", "Zeit"},
      {"C", "Time"},  {"es", "Time"},
  };
  for (const auto& [language, expected] : steps) {
    environment_["UNITS_LANG"] = language;
    EXPECT_STREQ(Get("Time"), expected) << language;
  }
  environment_["UNITS_LANG"] = "de_AT";
  EXPECT_STREQ(Get("Length"), "Length") << "a territory's catalogue has no per-text fallback";
  // A catalogue is read when the language changes, not at every call.
  Write("de_AT", BuildMo({{"Time", "Uhrzeit"}}));
  EXPECT_STREQ(Get("Time"), "Zeit (AT)");
  environment_["UNITS_LANG"] = "de_AT.UTF-8";
  EXPECT_STREQ(Get("Time"), "Uhrzeit");
  // Missing catalogues are silent.
  EXPECT_EQ(std::count(reports_.begin(), reports_.end(), '\n'), 7) << reports_;
  EXPECT_NE(reports_.find("de_CH/LC_MESSAGES/units.mo rejected: translation 0"), std::string::npos) << reports_;
}

}  // namespace
}  // namespace language
}  // namespace units
