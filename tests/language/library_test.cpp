// liblanguage.so as a host uses it: the exported functions, the catalogue
// found beside the loaded library, and the environment read at every call.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "language.h"

namespace {

const char* const kLanguageVariables[] = {"UNITS_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

class LanguageLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kLanguageVariables) unsetenv(name);
  }
  void TearDown() override {
    for (const char* name : kLanguageVariables) unsetenv(name);
    setlocale(LC_ALL, "C");
  }
};

TEST_F(LanguageLibraryTest, NullArgumentsAreHarmless) {
  EXPECT_STREQ(LangGetText(nullptr, 1), "");
  EXPECT_STREQ(LangGetText(nullptr, 0), "");
  LangSetText(nullptr, "x");
  LangSetText(nullptr, nullptr);
  LangSetText("never registered", nullptr);
  const char* text = "never registered";
  EXPECT_EQ(LangGetText(text, 1), text);
}

TEST_F(LanguageLibraryTest, FindsTheGermanCatalogueBesideTheLibrary) {
  setenv("UNITS_LANG", "de", 1);
  EXPECT_STREQ(LangGetText("Time", 1), "Zeit");
  EXPECT_STREQ(LangGetText("Dev1", 0), "Pr\xC3\xBC" "fstand");
  EXPECT_STREQ(LangGetText("Dev99", 0), LANG_NO_DEVICE_NAME);
  const char* text = "Not translated";
  EXPECT_EQ(LangGetText(text, 1), text);
}

TEST_F(LanguageLibraryTest, SetlocaleOfTheHostChangesNothing) {
  setlocale(LC_ALL, "C");
  setenv("UNITS_LANG", "de", 1);
  EXPECT_STREQ(LangGetText("Length", 1), "L\xC3\xA4nge");
  // Only the environment of messages counts, even when no locale of that
  // name is installed for setlocale.
  unsetenv("UNITS_LANG");
  setenv("LANG", "de_DE.UTF-8", 1);
  setlocale(LC_ALL, "");
  EXPECT_STREQ(LangGetText("Length", 1), "L\xC3\xA4nge");
  setlocale(LC_ALL, "C");
  EXPECT_STREQ(LangGetText("Length", 1), "L\xC3\xA4nge");
}

TEST_F(LanguageLibraryTest, SwitchesLanguageWithTheEnvironment) {
  const char* time = "Time";
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_STREQ(LangGetText(time, 1), "Zeit");
  setenv("UNITS_LANG", "C", 1);
  EXPECT_EQ(LangGetText(time, 1), time);
  EXPECT_STREQ(LangGetText("Dev1", 0), LANG_NO_DEVICE_NAME);
  setenv("UNITS_LANG", "fr", 1);  // no French catalogue
  EXPECT_EQ(LangGetText(time, 1), time);
  unsetenv("UNITS_LANG");
  EXPECT_STREQ(LangGetText(time, 1), "Zeit");
}

TEST_F(LanguageLibraryTest, HostOverridesDeviceNamesAndTexts) {
  setenv("UNITS_LANG", "de", 1);
  LangSetText("Dev7", "Klimakammer");
  LangSetText("Time", "Uhrzeit");
  EXPECT_STREQ(LangGetText("Dev7", 0), "Klimakammer");
  EXPECT_STREQ(LangGetText("Time", 1), "Uhrzeit");
  LangSetText("Dev7", nullptr);
  LangSetText("Time", nullptr);
  EXPECT_STREQ(LangGetText("Dev7", 0), LANG_NO_DEVICE_NAME);
  EXPECT_STREQ(LangGetText("Time", 1), "Zeit");
}

TEST_F(LanguageLibraryTest, ExportsOnlyTheInterface) {
  const std::string command = std::string("nm -D --defined-only '") + LANGUAGE_LIBRARY_PATH + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> names;
  char line[512];
  while (std::fgets(line, sizeof(line), pipe) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    names.insert(text.substr(text.rfind(' ') + 1));
  }
  ASSERT_EQ(pclose(pipe), 0) << "nm failed";
  EXPECT_EQ(names, (std::set<std::string>{"LangGetText", "LangSetText"}));
}

}  // namespace
