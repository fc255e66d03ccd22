#include "language/translator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "language.h"
#include "language/mo_builder.h"

namespace units {
namespace language {
namespace {

namespace fs = std::filesystem;
using testing::BuildMo;
using testing::MoMessage;

const std::vector<MoMessage> kGerman = {
    {"Time", "Zeit"}, {"Length", "L\xC3\xA4nge"}, {"Dev1", "Pr\xC3\xBC" "fstand"}, {"Dev2", "Verst\xC3\xA4rker"}};
const std::vector<MoMessage> kFrench = {{"Time", "Temps"}};

// A locale folder of its own per test, and an environment the test controls.
class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = ::testing::TempDir() + "language_" + info->name() + "_" + std::to_string(getpid()) + "/";
    fs::remove_all(folder_);
    root_ = folder_ + "locale/";
    fs::create_directories(root_);
    translator_ = std::make_unique<Translator>(
        root_,
        [this](const char* name) -> const char* {
          const auto it = environment_.find(name);
          return it == environment_.end() ? nullptr : it->second.c_str();
        },
        [this](const std::string& line) { reports_.push_back(line); });
  }
  void TearDown() override { fs::remove_all(folder_); }

  void WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  void WriteCatalogue(const std::string& language, const std::vector<MoMessage>& messages) {
    WriteFile(root_ + language + "/LC_MESSAGES/units.mo", BuildMo(messages));
  }
  const char* Get(const char* text) { return translator_->Get(text, 1); }
  size_t ReportsContaining(const std::string& part) const {
    size_t count = 0;
    for (const std::string& line : reports_) count += line.find(part) != std::string::npos;
    return count;
  }

  std::string folder_;
  std::string root_;
  std::map<std::string, std::string> environment_;
  std::vector<std::string> reports_;
  std::unique_ptr<Translator> translator_;
};

TEST_F(TranslatorTest, UntranslatedTextComesBackAsTheSamePointer) {
  const char* time = "Time";
  const char* empty = "";
  EXPECT_EQ(Get(time), time);
  EXPECT_EQ(Get(empty), empty);
  WriteCatalogue("de", kGerman);
  environment_["UNITS_LANG"] = "de";
  const char unknown[] = "Not in the catalogue";
  EXPECT_EQ(Get(unknown), unknown);
  EXPECT_EQ(Get(empty), empty);
}

TEST_F(TranslatorTest, DeviceKeysWithoutANameGiveXxxxx) {
  for (const char* key : {"Dev0", "Dev1", "Dev42", "Dev65535", "Dev-1"}) {
    EXPECT_STREQ(Get(key), LANG_NO_DEVICE_NAME) << key;
  }
  // Only what "Dev%i" makes is a device key; anything else is a text.
  for (const char* text : {"Dev", "Dev-", "Dev1a", "Dev 1", "dev1", "DEV1", "Device1", "XDev1", "Dev+1", "Dev1 "}) {
    EXPECT_EQ(Get(text), text) << text;
  }
}

TEST_F(TranslatorTest, DeviceNamesComeFromTheCatalogueOrAnOverride) {
  WriteCatalogue("de", kGerman);
  environment_["UNITS_LANG"] = "de";
  EXPECT_STREQ(Get("Dev1"), "Pr\xC3\xBC" "fstand");
  EXPECT_STREQ(Get("Dev3"), "xxxxx");
  translator_->Set("Dev1", "Rig");
  translator_->Set("Dev3", "Logger");
  EXPECT_STREQ(Get("Dev1"), "Rig");
  EXPECT_STREQ(Get("Dev3"), "Logger");
  translator_->Set("Dev1", nullptr);
  translator_->Set("Dev3", nullptr);
  EXPECT_STREQ(Get("Dev1"), "Pr\xC3\xBC" "fstand");
  EXPECT_STREQ(Get("Dev3"), "xxxxx");
}

TEST_F(TranslatorTest, OverridesComeBeforeTheCatalogueUntilRemoved) {
  WriteCatalogue("de", kGerman);
  environment_["UNITS_LANG"] = "de";
  const char* time = "Time";
  translator_->Set("Time", "Dauer");
  EXPECT_STREQ(Get(time), "Dauer");
  translator_->Set("Time", "Zeitpunkt");
  EXPECT_STREQ(Get(time), "Zeitpunkt");
  translator_->Set("Time", nullptr);
  EXPECT_STREQ(Get(time), "Zeit");

  const char* fresh = "Fresh";
  translator_->Set("Fresh", "Neu");
  EXPECT_STREQ(Get(fresh), "Neu");
  translator_->Set("Fresh", nullptr);
  EXPECT_EQ(Get(fresh), fresh);
  // An override of a text with no other translation outlives a language change.
  translator_->Set("Fresh", "Neu");
  environment_["UNITS_LANG"] = "C";
  EXPECT_STREQ(Get(fresh), "Neu");
  translator_->Set("Fresh", nullptr);
}

TEST_F(TranslatorTest, NullKeyAndRemovingWhatIsNotThereChangeNothing) {
  const char* time = "Time";
  translator_->Set(nullptr, "x");
  translator_->Set(nullptr, nullptr);
  translator_->Set("Time", nullptr);
  EXPECT_EQ(Get(time), time);
  translator_->Set("", "empty text");
  EXPECT_STREQ(Get(""), "empty text");
}

TEST_F(TranslatorTest, AnswerStaysReadableWhenItsOverrideIsReplaced) {
  translator_->Set("Time", "first");
  const char* answer = Get("Time");
  translator_->Set("Time", "second");
  translator_->Set("Time", nullptr);
  EXPECT_STREQ(answer, "first");
  // Registering an answer as the new text of its own key.
  translator_->Set("Time", "third");
  translator_->Set("Time", Get("Time"));
  EXPECT_STREQ(Get("Time"), "third");
}

TEST_F(TranslatorTest, SelectorDoesNotChangeTheAnswer) {
  WriteCatalogue("de", kGerman);
  environment_["UNITS_LANG"] = "de";
  EXPECT_EQ(translator_->Get("Time", 0), translator_->Get("Time", 1));
  EXPECT_EQ(translator_->Get("Dev2", 0), translator_->Get("Dev2", 1));
  EXPECT_STREQ(translator_->Get("Dev9", 7), "xxxxx");
}

TEST_F(TranslatorTest, FollowsTheEnvironmentAtRunTime) {
  WriteCatalogue("de", kGerman);
  WriteCatalogue("fr", kFrench);
  const char* time = "Time";
  environment_["UNITS_LANG"] = "de";
  EXPECT_STREQ(Get(time), "Zeit");
  environment_["UNITS_LANG"] = "fr";
  EXPECT_STREQ(Get(time), "Temps");
  EXPECT_EQ(translator_->catalogue_folder(), "fr");
  environment_["UNITS_LANG"] = "C";
  EXPECT_EQ(Get(time), time);
  EXPECT_EQ(translator_->catalogue_folder(), "");
  environment_.erase("UNITS_LANG");
  environment_["LANG"] = "de_DE.UTF-8";
  EXPECT_STREQ(Get(time), "Zeit");
  EXPECT_EQ(translator_->catalogue_folder(), "de");
  environment_["LC_MESSAGES"] = "fr_FR.UTF-8";
  EXPECT_STREQ(Get(time), "Temps");
  environment_["LANGUAGE"] = "de:fr";
  EXPECT_STREQ(Get(time), "Zeit");
}

TEST_F(TranslatorTest, MostSpecificCatalogueWins) {
  WriteCatalogue("de", kGerman);
  WriteCatalogue("de_AT", {{"Time", "Zeit (AT)"}});
  environment_["LANG"] = "de_AT.UTF-8";
  EXPECT_STREQ(Get("Time"), "Zeit (AT)");
  // The territory's catalogue does not fall back to the language's per text.
  const char* length = "Length";
  EXPECT_EQ(Get(length), length);
  environment_["LANG"] = "de_CH.UTF-8";
  EXPECT_STREQ(Get("Time"), "Zeit");
  EXPECT_EQ(translator_->catalogue_folder(), "de");
}

TEST_F(TranslatorTest, DamagedCatalogueIsReportedAndTheNextOneTried) {
  WriteCatalogue("de", kGerman);
  std::string damaged = BuildMo(kFrench);
  damaged.pop_back();
  WriteFile(root_ + "de_DE/LC_MESSAGES/units.mo", damaged);
  environment_["LANG"] = "de_DE";
  EXPECT_STREQ(Get("Time"), "Zeit");
  EXPECT_EQ(ReportsContaining("de_DE/LC_MESSAGES/units.mo rejected: translation 0"), 1u);
  EXPECT_EQ(ReportsContaining("de/LC_MESSAGES/units.mo loaded, 4 texts"), 1u);
}

TEST_F(TranslatorTest, MissingCatalogueIsSilent) {
  environment_["UNITS_LANG"] = "fr_FR";
  const char* time = "Time";
  EXPECT_EQ(Get(time), time);
  EXPECT_TRUE(reports_.empty());
}

TEST_F(TranslatorTest, CatalogueIsReadOnlyWhenTheLanguageChanges) {
  WriteCatalogue("de", kGerman);
  environment_["UNITS_LANG"] = "de";
  for (int i = 0; i < 100; ++i) EXPECT_STREQ(Get("Time"), "Zeit");
  EXPECT_EQ(ReportsContaining("loaded"), 1u);
  // A new file is seen after the next change of language, not before.
  WriteCatalogue("de", {{"Time", "Uhrzeit"}});
  EXPECT_STREQ(Get("Time"), "Zeit");
  environment_["UNITS_LANG"] = "C";
  Get("Time");
  environment_["UNITS_LANG"] = "de";
  EXPECT_STREQ(Get("Time"), "Uhrzeit");
}

TEST_F(TranslatorTest, LocaleNamesCannotReachOutsideTheLocaleFolder) {
  WriteFile(folder_ + "evil/LC_MESSAGES/units.mo", BuildMo({{"Time", "owned"}}));
  const char* time = "Time";
  for (const char* name : {"../evil", "..", "de/../../evil"}) {
    environment_["UNITS_LANG"] = name;
    EXPECT_EQ(Get(time), time) << name;
  }
}

}  // namespace
}  // namespace language
}  // namespace units
