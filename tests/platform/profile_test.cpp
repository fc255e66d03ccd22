#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "module/startup.h"
#include "test_support.h"

namespace units {
namespace {

class ProfileTest : public testing::ModuleTest {
 protected:
  std::string Write(const std::string& text) {
    const std::string path = folder_ + "UNITS.INI";
    testing::WriteWholeFile(path, text);
    return path;
  }
  std::string Read(const std::string& text, const char* key, size_t size = 512) {
    return platform::ReadProfileString(Write(text), "Units", key, "dflt", size);
  }
};

TEST_F(ProfileTest, NamesIgnoreCaseAndBlanksAroundValuesGo) {
  EXPECT_EQ(Read("[units]\n  MODE =  Autocreate  \r\n", "Mode"), "Autocreate");
  EXPECT_EQ(Read("[ Units ]\nLog=On\n", "log"), "On");
  EXPECT_EQ(Read("\xEF\xBB\xBF[Units]\nLog=Yes\n", "Log"), "Yes");
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(platform::ReadProfileString(folder_ + "none.ini", "Units", "Mode", "dflt", 512), "dflt");
  EXPECT_EQ(Read("[Other]\nMode=X\n", "Mode"), "dflt");
  EXPECT_EQ(Read("[Units]\nModes=X\n", "Mode"), "dflt");
  EXPECT_EQ(Read("Mode=X\n[Units]\n", "Mode"), "dflt");
}

TEST_F(ProfileTest, FirstOccurrenceWinsAndQuotesGo) {
  EXPECT_EQ(Read("[Units]\nMode=A\nMode=B\n[Units]\nMode=C\n", "Mode"), "A");
  EXPECT_EQ(Read("[Units]\nMode=\"Standard\"\n", "Mode"), "Standard");
  EXPECT_EQ(Read("[Units]\nMode='x\"\n", "Mode"), "'x\"");
  EXPECT_EQ(Read("[Units]\nMode=\n", "Mode"), "");
}

TEST_F(ProfileTest, LongValuesAreCutToTheBuffer) {
  const std::string value(100000, 'v');
  EXPECT_EQ(Read("[Units]\nMode=" + value + "\n", "Mode"), std::string(511, 'v'));
  EXPECT_EQ(Read("[Units]\nMode=abc\n", "Mode", 3), "ab");
  EXPECT_EQ(Read("[Units]\nMode=abc\n", "Mode", 0), "");
}

class ConfigurationTest : public ProfileTest {
 protected:
  Configuration From(const std::string& text) { return ReadConfiguration(Write(text)); }
};

TEST_F(ConfigurationTest, DefaultsWithoutFile) {
  const Configuration config = ReadConfiguration(folder_ + "missing.ini");
  EXPECT_TRUE(config.mode_known);
  EXPECT_EQ(config.edit_mode, 1);
  EXPECT_FALSE(config.conversion_log);
  EXPECT_FALSE(config.missing_quantity_log);
}

TEST_F(ConfigurationTest, ModeWordsAndTheirCaseRules) {
  EXPECT_EQ(From("[Units]\nMode=VORTA\n").edit_mode, 1);
  EXPECT_FALSE(From("[Units]\nMode=vorta\n").mode_known);
  EXPECT_FALSE(From("[Units]\nMode=Vorta\n").mode_known);
  EXPECT_EQ(From("[Units]\nMode=autocreate\n").edit_mode, 2);
  EXPECT_EQ(From("[Units]\nMode=standard\n").edit_mode, 1);
  EXPECT_EQ(From("[Units]\nMode=Maintenance\n").edit_mode, 1);
  EXPECT_FALSE(From("[Units]\nMode=Restricted\n").mode_known);
  EXPECT_FALSE(From("[Units]\nMode=\n").mode_known);
}

TEST_F(ConfigurationTest, LogSwitchesTakeYesOrOnInAnyCase) {
  EXPECT_TRUE(From("[Units]\nLog=oN\n").conversion_log);
  EXPECT_TRUE(From("[Units]\nLog=YES\n").conversion_log);
  EXPECT_FALSE(From("[Units]\nLog=1\n").conversion_log);
  EXPECT_FALSE(From("[Units]\nLog=true\n").conversion_log);
  EXPECT_TRUE(From("[Units]\nQuanNonExisting=on\n").missing_quantity_log);
  EXPECT_FALSE(From("[Units]\nQuanNonExisting=Onn\n").missing_quantity_log);
}

}  // namespace
}  // namespace units
