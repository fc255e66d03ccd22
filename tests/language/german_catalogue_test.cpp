// The German catalogue as the build makes it from data/locale/de/units.po.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "language.h"
#include "language/catalogue_file.h"
#include "language/mo_catalogue.h"
#include "language/translator.h"

namespace units {
namespace language {
namespace {

const std::string kGermanFile = std::string(UNITS_LOCALE_ROOT) + "de/LC_MESSAGES/units.mo";

MoCatalogue Load(const std::string& path) {
  std::vector<char> bytes;
  std::string error;
  EXPECT_EQ(ReadCatalogueFile(path, MoCatalogue::kMaxFileSize, &bytes, &error), FileRead::kOk) << path << ": " << error;
  MoCatalogue catalogue;
  EXPECT_TRUE(catalogue.Parse(std::move(bytes), &error)) << path << ": " << error;
  return catalogue;
}

// Every "name" string of a data file: quantities, subquantities, groups.
std::vector<std::string> NamesIn(const std::string& path) {
  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::regex name_pattern(R"re("name"\s*:\s*"([^"\\]*)")re");
  std::vector<std::string> names;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), name_pattern); it != std::sregex_iterator(); ++it) {
    names.push_back((*it)[1]);
  }
  return names;
}

TEST(GermanCatalogueTest, TranslatesByteForByte) {
  const std::map<std::string, std::string> expected = {
      {"in", "in"},
      {"Time", "Zeit"},
      {"Length", "L\xC3\xA4nge"},
      {"Capacitance", "Kapazit\xC3\xA4t"},
      {"Angular velocity", "Winkelgeschwindigkeit"},
      {"Properties of '%s'", "Eigenschaften von '%s'"},
      {"Quantity in unit, e.g. t in s", "Gr\xC3\xB6\xC3\x9F" "e in Einheit, z. B. t in s"},
      {"Dev1", "Pr\xC3\xBC" "fstand"},
      {"Dev2", "Messverst\xC3\xA4rker"},
      {"Messverst\xC3\xA4rker2", "Kanal B"},
  };
  Translator translator(UNITS_LOCALE_ROOT, [](const char* name) { return std::strcmp(name, "UNITS_LANG") == 0 ? "de" : nullptr; });
  for (const auto& [english, german] : expected) {
    EXPECT_EQ(std::string(translator.Get(english.c_str(), 1)), german) << english;
  }
  EXPECT_STREQ(translator.Get("Dev3", 0), LANG_NO_DEVICE_NAME);
  EXPECT_STREQ(translator.Get("Messverst\xC3\xA4rker1", 0), "Messverst\xC3\xA4rker1");
  EXPECT_EQ(translator.catalogue_folder(), "de");
}

TEST(GermanCatalogueTest, NamesEveryQuantityAndGroupOfTheDefaultData) {
  const MoCatalogue catalogue = Load(kGermanFile);
  size_t checked = 0;
  for (const char* file : {"data/default_units.json", "data/default_groups.json"}) {
    for (const std::string& name : NamesIn(std::string(UNITS_SOURCE_DIR) + file)) {
      EXPECT_NE(catalogue.Find(name), nullptr) << "no German text for \"" << name << "\" of " << file;
      ++checked;
    }
  }
  // The scan itself must have found the names.
  EXPECT_GT(checked, 20u);
}

TEST(GermanCatalogueTest, BothByteOrdersOfMsgfmtGiveTheSameCatalogue) {
  const MoCatalogue little = Load(kGermanFile);
  const MoCatalogue big = Load(UNITS_BIG_ENDIAN_GERMAN);
  ASSERT_EQ(little.entries().size(), big.entries().size());
  EXPECT_GT(little.entries().size(), 40u);
  for (size_t i = 0; i < little.entries().size(); ++i) {
    EXPECT_EQ(little.entries()[i].key, big.entries()[i].key);
    EXPECT_STREQ(little.entries()[i].value, big.entries()[i].value);
  }
}

}  // namespace
}  // namespace language
}  // namespace units
