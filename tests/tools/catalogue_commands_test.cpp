// list, convert, label and names as a user runs them: the output on the
// default catalogue and on small catalogues made for one case, checked
// against values derived from the JSON sources, and the faults they report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/library_copy.h"

namespace units {
namespace {

using nlohmann::json;
using testing::DefaultCatalogueSource;
using testing::DefaultGroupsSource;
using testing::GermanTranslations;
using testing::SourceFlags;
using testing::SourceNumber;
using testing::ToolResult;

class CommandTest : public testing::LibraryCopyTest {
 protected:
  json RunJson(const std::vector<std::string>& arguments) {
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return json::parse(result.out);
  }

  std::string RunText(const std::vector<std::string>& arguments) {
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return result.out;
  }

  // A run that must fail with `code`, a message holding `part` and no output.
  void ExpectFailure(const std::vector<std::string>& arguments, int code, const std::string& part) {
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.exit_code, code) << result.err;
    EXPECT_NE(result.err.find(part), std::string::npos) << "stderr: " << result.err;
    EXPECT_EQ(result.out, "");
  }
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

bool Enabled(const json& item) { return item.value("enabled", true); }

std::vector<json> EnabledQuantities(const json& source) {
  std::vector<json> quantities;
  for (const json& q : source["quantities"]) {
    if (Enabled(q)) quantities.push_back(q);
  }
  return quantities;
}

json CurrentUnit(const json& quantity) { return quantity["units"][quantity.value("unit", 0)]; }

// The default temperature with °F as display unit, alone in a catalogue.
json FahrenheitCatalogue(int unit_format = 0, int text_mode = 0) {
  json source = json::parse(R"({"quantities": [
    {"id": 4, "name": "Temperature", "symbol": "ϑ", "text": "T", "unit": 2,
     "units": [{"text": "°C", "factor": 1}, {"text": "K", "factor": 1, "offset": 273.15},
               {"text": "°F", "factor": "9/5", "offset": 32}]}]})");
  source["unit_format"] = unit_format;
  source["text_mode"] = text_mode;
  return source;
}

// ---- variants as the group query derives them from a source -------------

struct Variant {
  int quantity, subquantity, kind, device, index;
  uint32_t flags;
  std::string name, symbol;
  bool operator==(const Variant& o) const {
    return quantity == o.quantity && subquantity == o.subquantity && kind == o.kind && device == o.device &&
           index == o.index && flags == o.flags && name == o.name && symbol == o.symbol;
  }
};

void PrintTo(const Variant& v, std::ostream* os) {
  *os << "{" << v.quantity << ", " << v.subquantity << ", kind " << v.kind << ", (" << v.device << ", " << v.index
      << "), flags " << v.flags << ", " << v.name << ", " << v.symbol << "}";
}

// Untranslated names, symbol mode, and no device names (the C locale names
// no device), so a registration adds only a non-zero index to the symbol.
std::vector<Variant> SourceVariants(const json& source) {
  std::vector<Variant> variants;
  for (const json& q : EnabledQuantities(source)) {
    const int id = q["id"];
    bool active = false;
    for (const json& s : q.value("subquantities", json::array())) {
      if (!Enabled(s)) continue;
      active = true;
      const Variant base{id, s["number"], s.value("kind", 0) << 12, 0, 0, SourceFlags(s["flags"]),
                         s["name"], s.value("symbol", "")};
      const json pairs = s.value("pairs", json::array());
      if (pairs.empty()) variants.push_back(base);
      for (const json& pair : pairs) {
        Variant v = base;
        v.device = pair[0];
        v.index = pair[1];
        if (v.index != 0) v.symbol += std::to_string(v.index);
        variants.push_back(v);
      }
    }
    if (!active) variants.push_back({id, 0, 0x1000, 0, 0, 0x4, q["name"], q["symbol"]});
  }
  return variants;
}

bool Selects(const json& condition, const Variant& v) {
  if (condition.contains("quantity") && condition["quantity"] != v.quantity) return false;
  if (condition.contains("subquantity") && condition["subquantity"] != v.subquantity) return false;
  if (condition.contains("device") && condition["device"] != v.device) return false;
  if (condition.contains("index") && condition["index"] != v.index) return false;
  if (condition.contains("flags")) {
    const json& flags = condition["flags"];
    const uint32_t on = SourceFlags(flags.value("on", json::array()));
    const uint32_t off = SourceFlags(flags.value("off", json::array()));
    if ((v.flags & on) != on || (v.flags & off) != 0) return false;
  }
  return true;
}

std::vector<Variant> InGroup(const std::vector<Variant>& all, const json& group) {
  std::vector<Variant> selected;
  for (const Variant& v : all) {
    const json& conditions = group["conditions"];
    if (std::any_of(conditions.begin(), conditions.end(), [&](const json& c) { return Selects(c, v); })) {
      selected.push_back(v);
    }
  }
  return selected;
}

std::vector<Variant> ToolVariants(const json& output) {
  std::vector<Variant> variants;
  for (const json& v : output["variants"]) {
    variants.push_back({v["quantity"], v["subquantity"], v["kind"], v["device"], v["index"], v["flags"], v["name"],
                        v["symbol"]});
  }
  return variants;
}

// ---- list ----

using UnitsToolListTest = CommandTest;

TEST_F(UnitsToolListTest, ListsEveryEnabledQuantityOfTheDefaultCatalogueWithItsUnits) {
  const json output = RunJson({"list", "--json"});
  const std::vector<json> expected = EnabledQuantities(DefaultCatalogueSource());
  ASSERT_EQ(output["quantities"].size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const json& q = expected[i];
    const json& line = output["quantities"][i];
    SCOPED_TRACE("quantity " + q["id"].dump());
    EXPECT_EQ(line["id"], q["id"]);
    EXPECT_EQ(line["name"], q["name"]);
    EXPECT_EQ(line["symbol"], q["symbol"]);  // the source sets no text mode: symbols
    EXPECT_EQ(line["unit"], CurrentUnit(q)["text"]);
    EXPECT_EQ(line["base"], q["units"][0]["text"]);
    json texts = json::array();
    for (const json& unit : q["units"]) texts.push_back(unit["text"]);
    EXPECT_EQ(line["units"], texts);
  }
}

TEST_F(UnitsToolListTest, TableAlignsColumnsByCharactersNotBytes) {
  const std::vector<std::string> lines = Lines(RunText({"list"}));
  const std::vector<json> expected = EnabledQuantities(DefaultCatalogueSource());
  ASSERT_EQ(lines.size(), expected.size() + 1);
  // Cells hold at most single blanks; columns are set apart by two or more.
  const std::regex gap("  +");
  std::vector<size_t> header_starts;
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    std::vector<std::string> cells;
    std::vector<size_t> starts;  // in characters
    for (std::sregex_token_iterator it(lines[i].begin(), lines[i].end(), gap, -1), end; it != end; ++it) {
      const std::string before = lines[i].substr(0, static_cast<size_t>(it->first - lines[i].begin()));
      starts.push_back(static_cast<size_t>(
          std::count_if(before.begin(), before.end(), [](char c) { return (c & 0xC0) != 0x80; })));
      cells.push_back(*it);
    }
    if (i == 0) {
      EXPECT_EQ(cells, (std::vector<std::string>{"id", "name", "symbol", "unit", "base", "units"}));
      header_starts = starts;
      continue;
    }
    const json& q = expected[i - 1];
    std::string units;
    for (const json& unit : q["units"]) units += (units.empty() ? "" : ", ") + unit["text"].get<std::string>();
    EXPECT_EQ(cells, (std::vector<std::string>{q["id"].dump(), q["name"], q["symbol"], CurrentUnit(q)["text"],
                                               q["units"][0]["text"], units}));
    EXPECT_EQ(starts, header_starts);
  }
}

TEST_F(UnitsToolListTest, LeavesOutDisabledQuantitiesAndWarnsWhenNoneRemains) {
  json source = json::parse(R"({"quantities": [
    {"id": 1, "name": "A", "symbol": "a", "units": [{"text": "s", "factor": 1}]},
    {"id": 2, "name": "B", "symbol": "b", "enabled": false, "units": [{"text": "s", "factor": 1}]},
    {"id": 3, "name": "C", "symbol": "c", "units": [{"text": "s", "factor": 1}]}]})");
  InstallCatalogue(source);
  json ids = json::array();
  const json output = RunJson({"list", "--json"});
  for (const json& line : output["quantities"]) ids.push_back(line["id"]);
  EXPECT_EQ(ids, json({1, 3}));

  for (json& q : source["quantities"]) q["enabled"] = false;
  InstallCatalogue(source);
  const ToolResult result = Run({"list"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(Lines(result.out).size(), 1u) << result.out;  // the header alone
  EXPECT_NE(result.err.find("no enabled quantity"), std::string::npos) << result.err;
}

TEST_F(UnitsToolListTest, EmptyUnitTextsKeepTheirPlaceInTheUnitList) {
  // An empty text inside the library's NUL-separated list looks like its end.
  InstallCatalogue(json::parse(R"({"quantities": [
    {"id": 9, "name": "Gain", "symbol": "G", "unit": 1,
     "units": [{"text": "", "factor": 1}, {"text": "k", "factor": "1/1000"}, {"text": "", "factor": 2},
               {"text": "M", "factor": "1/1000000"}]}]})"));
  const json line = RunJson({"list", "--json"})["quantities"][0];
  EXPECT_EQ(line["units"], json({"", "k", "", "M"}));
  EXPECT_EQ(line["unit"], "k");
  EXPECT_EQ(line["base"], "");
}

TEST_F(UnitsToolListTest, TextModeShowsThePlainTextFormOfTheSymbol) {
  InstallCatalogue(FahrenheitCatalogue(0, 1));
  EXPECT_EQ(RunJson({"list", "--json"})["quantities"][0]["symbol"], FahrenheitCatalogue()["quantities"][0]["text"]);
}

TEST_F(UnitsToolListTest, LangGivesTheGermanNames) {
  const std::map<std::string, std::string> german = GermanTranslations();
  ASSERT_EQ(german.at("Temperature"), "Temperatur");  // the catalogue this test relies on
  const json output = RunJson({"--lang", "de", "list", "--json"});
  const std::vector<json> expected = EnabledQuantities(DefaultCatalogueSource());
  ASSERT_EQ(output["quantities"].size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string name = expected[i]["name"];
    const auto it = german.find(name);
    EXPECT_EQ(output["quantities"][i]["name"], it == german.end() ? name : it->second);
  }
}

// ---- convert ----

using UnitsToolConvertTest = CommandTest;

TEST_F(UnitsToolConvertTest, FahrenheitResultsAreExact) {
  // The copy's data folder holds this catalogue: these results also show
  // that the tool loads the copy and not the build tree's library.
  InstallCatalogue(FahrenheitCatalogue());
  EXPECT_EQ(RunText({"convert", "4", "100"}), "212 °F\n");                              // 100 x 9/5 + 32
  EXPECT_EQ(RunText({"convert", "4", "100", "--relative"}), "180 °F\n");                // 100 x 9/5
  EXPECT_EQ(RunText({"convert", "4", "212", "--to-base"}), "100 °C\n");                 // (212 - 32) x 5/9
  EXPECT_EQ(RunText({"convert", "--to-base", "--relative", "4", "180"}), "100 °C\n");   // 180 x 5/9
  EXPECT_EQ(RunText({"convert", "4", "-40"}), "-40 °F\n");                              // where the scales meet
  EXPECT_EQ(RunText({"convert", "4", "-40", "--to-base"}), "-40 °C\n");
}

struct Printed {
  double value;
  std::string unit;
};

Printed ParsePrinted(const std::string& out) {
  const size_t blank = out.find(' ');
  const size_t end = out.find('\n');
  EXPECT_NE(end, std::string::npos);
  EXPECT_EQ(end + 1, out.size()) << out;
  return {std::strtod(out.substr(0, std::min(blank, end)).c_str(), nullptr),
          blank < end ? out.substr(blank + 1, end - blank - 1) : ""};
}

TEST_F(UnitsToolConvertTest, EveryDefaultQuantityConvertsInAllFourDirections) {
  const double value = 123.456;
  for (const json& q : EnabledQuantities(DefaultCatalogueSource())) {
    SCOPED_TRACE("quantity " + q["id"].dump());
    const json unit = CurrentUnit(q);
    const double factor = SourceNumber(unit["factor"]);
    const double offset = SourceNumber(unit.value("offset", json(0)));
    const std::string id = q["id"].dump();
    const std::string current = unit["text"];
    const std::string base = q["units"][0]["text"];
    // Every step is rounded on its own: the product before the offset, the
    // difference before the division.
    const double product = value * factor;
    const double difference = value - offset;
    const struct {
      std::vector<std::string> arguments;
      double expected;
      std::string unit;
    } cases[] = {
        {{"convert", id, "123.456"}, product + offset, current},
        {{"convert", id, "123.456", "--relative"}, product, current},
        {{"convert", id, "123.456", "--to-base"}, difference / factor, base},
        {{"convert", id, "123.456", "--to-base", "--relative"}, value / factor, base},
    };
    for (const auto& c : cases) {
      const Printed printed = ParsePrinted(RunText(c.arguments));
      EXPECT_EQ(printed.value, c.expected) << c.arguments.back();
      EXPECT_EQ(printed.unit, c.unit);
    }
  }
}

TEST_F(UnitsToolConvertTest, RefusesValuesThatAreNotFiniteNumbers) {
  const struct {
    const char* value;
    const char* message;
  } cases[] = {
      {"abc", "is not a number"},      {"", "the text is empty"},      {"12abc", "is not a number"},
      {"1 ", "is not a number"},       {" 1", "is not a number"},      {"1,5", "is not a number"},
      {"0x10", "is not a number"},     {"+-1", "is not a number"},     {"nan", "is not a finite number"},
      {"inf", "not a finite number"},  {"-infinity", "not a finite"}, {"1e400", "out of the range of a double"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    ExpectFailure({"convert", "4", c.value}, 1, c.message);
  }
}

TEST_F(UnitsToolConvertTest, RefusesQuantitiesThatAreNotInTheCatalogue) {
  std::set<int> ids;
  const json source = DefaultCatalogueSource();
  for (const json& q : source["quantities"]) ids.insert(q["id"].get<int>());
  const int missing = *ids.rbegin() + 1;
  ExpectFailure({"convert", std::to_string(missing), "1"}, 1,
                "no quantity " + std::to_string(missing) + " in the catalogue");
  ASSERT_EQ(ids.count(0), 0u);
  ExpectFailure({"convert", "0", "1", "--to-base"}, 1, "no quantity 0 in the catalogue");
  for (const char* id : {"65536", "-1", "4x", "", "0x4"}) {
    SCOPED_TRACE(id);
    ExpectFailure({"convert", id, "1"}, 1, "is not a quantity identifier");
  }
}

TEST_F(UnitsToolConvertTest, CommandLineFaultsGiveUsage) {
  ExpectFailure({"convert"}, 2, "usage: unitstool convert");
  ExpectFailure({"convert", "4"}, 2, "usage: unitstool convert");
  ExpectFailure({"convert", "4", "1", "2"}, 2, "usage: unitstool convert");
  ExpectFailure({"convert", "4", "1", "--reverse"}, 2, "usage: unitstool convert");
}

// ---- label ----

using UnitsToolLabelTest = CommandTest;

TEST_F(UnitsToolLabelTest, DefaultFormatPutsInBetweenSymbolAndUnit) {
  // The default source leaves the format unset: the library's first format,
  // "t in s", with "in" untranslated in the C locale.
  std::vector<std::string> arguments = {"label"}, expected, expected_names;
  for (const json& q : EnabledQuantities(DefaultCatalogueSource())) {
    arguments.push_back(q["id"].dump());
    const std::string unit = CurrentUnit(q)["text"];
    expected.push_back(q["symbol"].get<std::string>() + " in " + unit);
    expected_names.push_back(q["name"].get<std::string>() + " in " + unit);
  }
  EXPECT_EQ(Lines(RunText(arguments)), expected);
  arguments.push_back("--name");
  EXPECT_EQ(Lines(RunText(arguments)), expected_names);
}

TEST_F(UnitsToolLabelTest, FollowsTheStoredUnitFormat) {
  const char* const expected[] = {"ϑ in °F", "ϑ / °F", "ϑ / (°F)", "ϑ [°F]"};
  for (int format = 0; format < 4; ++format) {
    SCOPED_TRACE(format);
    InstallCatalogue(FahrenheitCatalogue(format));
    EXPECT_EQ(RunText({"label", "4"}), std::string(expected[format]) + "\n");
  }
}

TEST_F(UnitsToolLabelTest, TextModeUsesThePlainTextAndAnEmptyUnitAddsNothing) {
  InstallCatalogue(FahrenheitCatalogue(3, 1));
  EXPECT_EQ(RunText({"label", "4"}), "T [°F]\n");
  InstallCatalogue(json::parse(R"({"quantities": [
    {"id": 24, "name": "Ratio", "symbol": "r", "units": [{"text": "", "factor": 1}]}]})"));
  EXPECT_EQ(RunText({"label", "24"}), "r\n");
}

TEST_F(UnitsToolLabelTest, LangTranslatesTheNameAndTheWordIn) {
  const std::map<std::string, std::string> german = GermanTranslations();
  EXPECT_EQ(RunText({"label", "4", "--name", "--lang", "de"}),
            german.at("Temperature") + " " + german.at("in") + " °C\n");
}

TEST_F(UnitsToolLabelTest, UnknownQuantityPrintsNoLabelAtAll) {
  ExpectFailure({"label", "4", "99"}, 1, "no quantity 99 in the catalogue");
  ExpectFailure({"label", "four"}, 1, "is not a quantity identifier");
  ExpectFailure({"label"}, 2, "usage: unitstool label");
  ExpectFailure({"label", "4", "--symbol"}, 2, "usage: unitstool label");
}

// ---- names ----

using UnitsToolNamesTest = CommandTest;

TEST_F(UnitsToolNamesTest, StoredGroupListsEveryActiveVariantOfTheDefaultCatalogue) {
  const json groups = DefaultGroupsSource();
  ASSERT_EQ(groups["current_group"], 0);  // "All quantities": no group restriction
  const json output = RunJson({"names", "--json"});
  json names = json::array({"All quantities"});
  for (const json& group : groups["groups"]) names.push_back(group["name"]);
  EXPECT_EQ(output["groups"], names);
  EXPECT_EQ(output["current_group"], 0);
  EXPECT_EQ(ToolVariants(output), SourceVariants(DefaultCatalogueSource()));
}

TEST_F(UnitsToolNamesTest, EachGroupSelectsWhatItsConditionsSelect) {
  const std::vector<Variant> all = SourceVariants(DefaultCatalogueSource());
  const json groups = DefaultGroupsSource()["groups"];
  for (size_t g = 1; g <= groups.size(); ++g) {
    SCOPED_TRACE(groups[g - 1]["name"].get<std::string>());
    const json output = RunJson({"names", "--json", "--group", std::to_string(g)});
    EXPECT_EQ(output["current_group"], g);
    const std::vector<Variant> expected = InGroup(all, groups[g - 1]);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(ToolVariants(output), expected);
  }
}

TEST_F(UnitsToolNamesTest, AllIgnoresTheCurrentGroup) {
  const json output = RunJson({"names", "--json", "--group", "1", "--all"});
  EXPECT_EQ(output["current_group"], 1);
  EXPECT_EQ(output["all"], true);
  EXPECT_EQ(ToolVariants(output), SourceVariants(DefaultCatalogueSource()));
}

TEST_F(UnitsToolNamesTest, RegistrationsDisabledPartsAndBareQuantities) {
  const json source = json::parse(R"({"quantities": [
    {"id": 1, "name": "Flow", "symbol": "q", "units": [{"text": "l/s", "factor": 1}],
     "subquantities": [
       {"number": 3, "name": "Inlet flow", "symbol": "qin", "flags": ["Data", "Mean"], "kind": 2,
        "pairs": [[0, 2], [3, 0], [3, 1]]},
       {"number": 4, "name": "Outlet flow", "symbol": "qout", "flags": ["Data"], "enabled": false}]},
    {"id": 2, "name": "Hidden", "symbol": "h", "enabled": false, "units": [{"text": "s", "factor": 1}],
     "subquantities": [{"number": 0, "name": "Hidden data", "symbol": "hd", "flags": ["Data"]}]},
    {"id": 3, "name": "Level", "symbol": "L", "units": [{"text": "m", "factor": 1}],
     "subquantities": [{"number": 0, "name": "Set level", "symbol": "Ls", "flags": ["Set"], "enabled": false}]}]})");
  InstallCatalogue(source);
  const std::vector<Variant> expected = SourceVariants(source);
  ASSERT_EQ(expected.size(), 4u);  // three registrations and the bare Level
  EXPECT_EQ(ToolVariants(RunJson({"names", "--json"})), expected);
}

TEST_F(UnitsToolNamesTest, GroupChosenForOneRunIsNotSaved) {
  const testing::FolderState before = testing::Snapshot(DataFolder());
  EXPECT_EQ(RunJson({"names", "--json", "--group", "2"})["current_group"], 2);
  EXPECT_EQ(RunJson({"names", "--json"})["current_group"], DefaultGroupsSource()["current_group"]);
  EXPECT_TRUE(testing::Snapshot(DataFolder()) == before);
}

TEST_F(UnitsToolNamesTest, TextOutputMarksTheCurrentGroupAndListsOneLinePerVariant) {
  const json groups = DefaultGroupsSource()["groups"];
  const std::vector<std::string> lines = Lines(RunText({"names", "--group", "1"}));
  const std::string marked = "*  1  " + groups[0]["name"].get<std::string>();
  EXPECT_NE(std::find(lines.begin(), lines.end(), marked), lines.end());
  const std::vector<Variant> expected = InGroup(SourceVariants(DefaultCatalogueSource()), groups[0]);
  const auto header = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& line) { return line.rfind("quantity  subquantity", 0) == 0; });
  ASSERT_NE(header, lines.end());
  ASSERT_EQ(static_cast<size_t>(lines.end() - header), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) {
    std::istringstream row(*(header + 1 + static_cast<std::ptrdiff_t>(i)));
    std::string quantity, subquantity, kind, device, index, flags;
    row >> quantity >> subquantity >> kind >> device >> index >> flags;
    std::ostringstream hex;
    hex << "0x" << std::hex << expected[i].flags;
    EXPECT_EQ(quantity, std::to_string(expected[i].quantity));
    EXPECT_EQ(flags, hex.str());
    EXPECT_NE(header[static_cast<std::ptrdiff_t>(i) + 1].find(expected[i].name), std::string::npos);
  }
}

TEST_F(UnitsToolNamesTest, LangGivesTheGermanVariantNames) {
  const std::map<std::string, std::string> german = GermanTranslations();
  ASSERT_EQ(german.count("Set temperature"), 1u);
  const std::vector<Variant> english = SourceVariants(DefaultCatalogueSource());
  const std::vector<Variant> shown = ToolVariants(RunJson({"--lang", "de", "names", "--json"}));
  ASSERT_EQ(shown.size(), english.size());
  for (size_t i = 0; i < shown.size(); ++i) {
    const auto it = german.find(english[i].name);
    EXPECT_EQ(shown[i].name, it == german.end() ? english[i].name : it->second);
    EXPECT_EQ(shown[i].symbol, english[i].symbol);  // symbols are not translated
  }
  // Group names are stored texts, never translated.
  EXPECT_EQ(RunJson({"--lang", "de", "names", "--json"})["groups"][0], "All quantities");
}

TEST_F(UnitsToolNamesTest, RefusesGroupsThatDoNotExist) {
  const std::string past_last = std::to_string(DefaultGroupsSource()["groups"].size() + 1);
  ExpectFailure({"names", "--group", past_last}, 1, "no group " + past_last);
  ExpectFailure({"names", "--group", "-1"}, 1, "is not a group number");
  ExpectFailure({"names", "--group", "one"}, 1, "is not a group number");
  ExpectFailure({"names", "--group"}, 2, "usage: unitstool names");
  ExpectFailure({"names", "--group", "1", "--group", "2"}, 2, "usage: unitstool names");
  ExpectFailure({"names", "--filter"}, 2, "usage: unitstool names");
}

// ---- options for every command, and the data folder ----

using UnitsToolGlobalOptionsTest = CommandTest;

TEST_F(UnitsToolGlobalOptionsTest, LangMayStandBeforeOrAfterTheCommand) {
  const std::string before = RunText({"--lang", "de", "list", "--json"});
  EXPECT_NE(before.find("\"Temperatur\""), std::string::npos);
  EXPECT_EQ(RunText({"list", "--json", "--lang", "de"}), before);
  EXPECT_EQ(RunText({"list", "--lang=de", "--json"}), before);
  // Without the option the environment decides: the tests run in the C locale.
  EXPECT_EQ(RunText({"list", "--json"}).find("\"Temperatur\""), std::string::npos);
}

TEST_F(UnitsToolGlobalOptionsTest, LangFaultsGiveUsage) {
  ExpectFailure({"list", "--lang"}, 2, "--lang needs a language");
  ExpectFailure({"--lang=", "list"}, 2, "--lang needs a language");
  ExpectFailure({"--lang", "--json", "list"}, 2, "--lang needs a language");
  ExpectFailure({"--lang", "de", "--lang", "en", "list"}, 2, "--lang is given twice");
}

TEST_F(UnitsToolGlobalOptionsTest, OverviewNamesEveryCommandAndTheLangOption) {
  const std::string help = RunText({"--help"});
  for (const char* word : {"list", "convert", "label", "names", "dump", "build", "--lang LANG"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
  for (const char* command : {"list", "convert", "label", "names"}) {
    EXPECT_EQ(RunText({command, "--help"}).rfind(std::string("usage: unitstool ") + command, 0), 0u) << command;
  }
}

using UnitsToolDataFolderTest = CommandTest;

TEST_F(UnitsToolDataFolderTest, QueriesWriteNothingIntoTheDataFolder) {
  const testing::FolderState before = testing::Snapshot(DataFolder());
  ASSERT_EQ(before.count("DEFAULT.UDF"), 1u);
  const std::vector<std::vector<std::string>> runs = {
      {"list"},
      {"list", "--json", "--lang", "de"},
      {"convert", "4", "100"},
      {"convert", "5", "1", "--to-base", "--relative"},
      {"convert", "99", "1"},
      {"label", "4", "5", "--name"},
      {"names"},
      {"names", "--group", "3"},
      {"names", "--group", "2", "--all", "--json"},
  };
  for (const auto& arguments : runs) Run(arguments);
  const testing::FolderState after = testing::Snapshot(DataFolder());
  for (const auto& [name, state] : after) EXPECT_EQ(before.count(name), 1u) << "new file " << name;
  for (const auto& [name, state] : before) {
    ASSERT_EQ(after.count(name), 1u) << "removed " << name;
    EXPECT_TRUE(after.at(name) == state) << "changed " << name;
  }
}

TEST_F(UnitsToolDataFolderTest, OnlyConvertAddsToTheConversionLog) {
  Write("lib/Units/UNITS.INI", "[Units]\nLog=Yes\n");
  const std::string log = DataFolder() + "KEY.LOG";
  RunText({"label", "4", "5"});
  ExpectFailure({"label", "4", "99"}, 1, "no quantity 99");
  RunText({"list"});
  RunText({"names"});
  EXPECT_FALSE(std::filesystem::exists(log)) << Read(log);
  // The log is on: the one conversion asked for is the one line in it.
  RunText({"convert", "4", "1"});
  EXPECT_EQ(Lines(Read(log)).size(), 1u) << Read(log);
}

}  // namespace
}  // namespace units
