#include "language/locale_name.h"

#include <gtest/gtest.h>

#include <map>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace units {
namespace language {
namespace {

using Folders = std::vector<std::string>;

std::string Choose(const std::map<std::string, std::string>& environment) {
  return ChooseLocaleName([&environment](const char* name) -> const char* {
    const auto it = environment.find(name);
    return it == environment.end() ? nullptr : it->second.c_str();
  });
}

TEST(ChooseLocaleNameTest, EachVariableAloneIsUsed) {
  EXPECT_EQ(Choose({}), "");
  EXPECT_EQ(Choose({{"UNITS_LANG", "de"}}), "de");
  EXPECT_EQ(Choose({{"LANGUAGE", "fr"}}), "fr");
  EXPECT_EQ(Choose({{"LC_ALL", "it_IT.UTF-8"}}), "it_IT.UTF-8");
  EXPECT_EQ(Choose({{"LC_MESSAGES", "es"}}), "es");
  EXPECT_EQ(Choose({{"LANG", "nl_NL"}}), "nl_NL");
  // Other categories never decide the language of messages.
  EXPECT_EQ(Choose({{"LC_NUMERIC", "de_DE"}, {"LC_CTYPE", "de_DE"}}), "");
}

TEST(ChooseLocaleNameTest, EarlierVariablesWin) {
  const std::pair<const char*, const char*> in_order[] = {
      {"UNITS_LANG", "de"}, {"LANGUAGE", "fr"}, {"LC_ALL", "it"}, {"LC_MESSAGES", "es"}, {"LANG", "nl"}};
  std::map<std::string, std::string> environment(std::begin(in_order), std::end(in_order));
  // Remove the winner each time: the next one in the order takes over.
  for (const auto& [variable, value] : in_order) {
    EXPECT_EQ(Choose(environment), value) << variable;
    environment.erase(variable);
  }
  EXPECT_EQ(Choose(environment), "");
}

TEST(ChooseLocaleNameTest, EmptyValuesCountAsUnset) {
  EXPECT_EQ(Choose({{"UNITS_LANG", ""}, {"LANGUAGE", ""}, {"LC_ALL", ""}, {"LANG", "de"}}), "de");
}

TEST(ChooseLocaleNameTest, CAndPosixAreChoicesThatStopTheSearch) {
  EXPECT_EQ(Choose({{"UNITS_LANG", "C"}, {"LANG", "de"}}), "C");
  EXPECT_EQ(Choose({{"LC_ALL", "POSIX"}, {"LANG", "de"}}), "POSIX");
}

TEST(ChooseLocaleNameTest, LanguageTakesTheFirstEntryOfItsList) {
  EXPECT_EQ(Choose({{"LANGUAGE", "fr:de:en"}}), "fr");
  EXPECT_EQ(Choose({{"LANGUAGE", "::de_AT:de"}}), "de_AT");
  EXPECT_EQ(Choose({{"LANGUAGE", ":::"}, {"LANG", "it"}}), "it");
  // UNITS_LANG is a single name, not a list.
  EXPECT_EQ(Choose({{"UNITS_LANG", "fr:de"}}), "fr:de");
}

TEST(CatalogueFoldersTest, GoesFromMostToLeastSpecific) {
  EXPECT_EQ(CatalogueFolders("de_DE.UTF-8@euro"), (Folders{"de_DE@euro", "de@euro", "de_DE", "de"}));
  EXPECT_EQ(CatalogueFolders("de_DE.UTF-8"), (Folders{"de_DE", "de"}));
  EXPECT_EQ(CatalogueFolders("de_DE"), (Folders{"de_DE", "de"}));
  EXPECT_EQ(CatalogueFolders("sr@latin"), (Folders{"sr@latin", "sr"}));
  EXPECT_EQ(CatalogueFolders("de.ISO-8859-1"), (Folders{"de"}));
  EXPECT_EQ(CatalogueFolders("de"), (Folders{"de"}));
}

TEST(CatalogueFoldersTest, CPosixAndEmptyMeanNoTranslation) {
  for (const char* name : {"", "C", "POSIX", "C.UTF-8", "C.utf8", "POSIX@x"}) {
    EXPECT_TRUE(CatalogueFolders(name).empty()) << name;
  }
}

TEST(CatalogueFoldersTest, NamesThatCouldLeaveTheLocaleFolderGiveNothing) {
  for (const char* name : {"..", "../de", "de/../../x", "de_DE/x", "de@x/y", "/tmp/de", "de_", "_DE", "de@", "d e",
                           "de\\x"}) {
    EXPECT_TRUE(CatalogueFolders(name).empty()) << name;
  }
  EXPECT_TRUE(CatalogueFolders(std::string(129, 'd')).empty());
  EXPECT_EQ(CatalogueFolders(std::string(128, 'd')).size(), 1u);
}

}  // namespace
}  // namespace language
}  // namespace units
