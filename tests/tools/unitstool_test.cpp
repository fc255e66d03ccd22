// unitstool: its parts in-process (stored files as JSON both ways, source faults, numbers, texts), then
// the built tool as a user runs it against the library and data folder the build made.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <regex>

#include "data/nearest_double.h"
#include "exact_number.h"
#include "json_output.h"
#include "model/fdf_format.h"
#include "model/udf_format.h"
#include "number_text.h"
#include "store_documents.h"
#include "test_support.h"
#include "model/text_codec.h"
#include "tool_error.h"

namespace units {
namespace tool {
namespace {

using testing::DefineSlot;
using testing::MakeGroup;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

// The text dump prints; build must make the same bytes of it.
std::string ExpectRoundTrip(const std::string& bytes, StoreKind kind) {
  const DecodedFile file = DecodeStoreFile(bytes, kind);
  EXPECT_EQ(file.damage, "");
  const std::string text = FormatJson(file.json);
  EXPECT_TRUE(EncodeSource(Json::parse(text)) == bytes) << text;
  return text;
}

TEST(SchemaTest, EveryStoredFieldOfACatalogueSurvivesDumpAndBuild) {
  auto q = testing::MakeQuantity(7, "Drehzahl \x96 Soll", "abcdefghijklmnopqrst");  // Windows-1252 dash; all 20 bytes
  CopyText(q->szText, sizeof(q->szText), "\xCF\x89");                    // UTF-8 omega
  q->dwState = kQuantityEnabled | 0x100;
  q->dwUnit = 3;
  testing::DefineUnit(q.get(), 0, "\xB0" "C", 1, 0);  // Windows-1252 degree sign
  q->aUnit[1] = {2.5, 1.0, "old", 0};       // removed, its values still stored; slot 2 never used
  testing::DefineUnit(q.get(), 3, "x", 1.0 / 3.0, -0.0);
  q->aUnit[4] = {1e-300, 1e300, "tiny", 3};
  testing::DefineUnit(q.get(), 5, "odd", std::nan(""), -INFINITY);
  t_subquantity& full = DefineSlot(q.get(), 1, 3, kFlagData | kFlagMean | 0x1000, std::string(40, 'n').c_str(), "");
  full.wState |= 0xA000;
  full.wCount = kMaxPairs;
  for (int i = 0; i < kMaxPairs; ++i) full.awDevice[i] = static_cast<uint16_t>(i * 1000);
  for (int i = 0; i < kMaxPairs; ++i) full.awIndex[i] = static_cast<uint16_t>(65535 - i);
  DefineSlot(q.get(), 2, 1, kFlagSet, "gone", "").wState = kSlotEnabled;
  const uint32_t named = kFlagSet | kFlagError | kFlagCalculated | kFlagFunction | kFlagCorrected | kFlagSmooth |
                         kFlagOffset | kFlagEqui;  // with Data and Mean above, every flag that has a name
  DefineSlot(q.get(), 3, -5, named, "odd", "\x80").wState = kSlotDefined | 0x0100;
  QuantityTable table;
  table.push_back(std::move(q));
  table.push_back(testing::MakeQuantity(65535));
  table.push_back(testing::MakeQuantity(8));
  table.back()->aUnit[0].wState = 2;  // even the base unit slot unused
  const std::string text = ExpectRoundTrip(EncodeUdf(table, 3, 1), StoreKind::kUdf);
  for (const char* form : {R"({ "windows-1252": "°C" })", R"({ "windows-1252": "Drehzahl – Soll" })",
                           R"({ "windows-1252": "€" })", R"("text": "ω")", R"("flags": ["Data", "Mean", 4096])",
                           "[49000, 65486]", R"("factor": "nan", "offset": "-inf")"})
    EXPECT_NE(text.find(form), std::string::npos) << form;
  EXPECT_EQ(Json::parse(text)["quantities"][0]["subquantities"][3]["flags"],
            Json({"Set", "Error", "Calculated", "Function", "Corrected", "Smooth", "Offset", "Equi"}));
}

TEST(SchemaTest, EveryStoredFieldOfTheGroupsSurvivesDumpAndBuild) {
  std::vector<t_FilterCondition> conditions(kMaxConditions);
  for (int c = 0; c < kMaxConditions; ++c) {
    const auto u = static_cast<uint32_t>(c);  // the flag value not always inside the mask; test bits no test uses
    conditions[u] = {static_cast<uint16_t>(c), c - 50, u * 0x00010001u, static_cast<uint16_t>(c * 7),
                     static_cast<uint16_t>(c * 11), static_cast<uint16_t>(c % 32 | 0x8000 * (c == 5)), u * 0x01010101u};
  }
  const t_FilterCondition flags = {4, -1, kFlagSet, 0, 0, kTestQuantity | kTestFlags, kFlagSet | kFlagData};
  t_FilterEntry spare = MakeGroup("Gr\xFC\xDF" "e", {flags});  // Windows-1252
  spare.aCondition[3].wDevice = 9;  // past the count: stored, never read
  spare.aCondition[7].lSubQuan = 12;
  const std::string text = ExpectRoundTrip(
      EncodeFdf({MakeGroup(std::string(299, 'x').c_str(), conditions), spare, MakeGroup("")}, 2), StoreKind::kFdf);
  EXPECT_NE(text.find(R"({ "windows-1252": "Grüße" })"), std::string::npos);
  EXPECT_NE(text.find(R"({ "quantity": 4, "flags": { "on": ["Set"], "off": ["Data"] } })"), std::string::npos);
  EXPECT_NE(text.find(R"("current_group": 2)"), std::string::npos);
}

std::string Repeat(const std::string& item, int count) {
  std::string list = item;
  while (--count > 0) list += ", " + item;
  return list;
}
std::string Quantity(const std::string& fields) {
  return R"({ "quantities": [ { "id": 1, "name": "Q", "symbol": "q", )" + fields + " } ] }";
}
std::string Units(const std::string& units) { return Quantity(R"("units": [ )" + units + " ]"); }
std::string Conditions(const std::string& conditions) {
  return R"({ "groups": [ { "name": "A", "conditions": [ )" + conditions + " ] } ] }";
}

TEST(SchemaTest, FaultsOfASourceNameTheirPlace) {
  const std::string unit = R"({ "text": "u", "factor": 1 })", units = R"("units": [ )" + unit + " ]";
  const std::string slot = units + R"(, "subquantities": [ { "number": 0, "name": "s", "flags": )";
  const std::pair<std::string, const char*> cases[] = {
      {Units(R"({ "text": "s", "factr": 1 })"), "quantities[0] (id 1).units[0]: unknown key \"factr\""},
      {Units(R"({ "text": "123456789012345678901", "factor": 1 })"), "takes 21 bytes; the field holds at most 20"},
      {Units(R"({ "text": "°°°°°°°1234567", "factor": 1 })"), "takes 21 bytes"},  // bytes, not characters
      {Units(R"({ "text": "a\u0000b", "factor": 1 })"), "NUL"},
      {Units(R"({ "text": { "windows-1252": "ω" }, "factor": 1 })"), "Windows-1252 cannot hold"},
      {Units(R"({ "text": "s", "factor": "1.5/2" })"), "units[0].factor: \"1.5/2\" is neither a number nor"},
      {Units(R"({ "text": "s" })"), "units[0]: the key \"factor\" is missing"},
      {Units(Repeat(unit, 11)), "units: 11 units, at most 10 fit"}, {Units(""), "needs at least its base unit"},
      {Quantity(slot + R"([], "pairs": [ )" + Repeat("[1, 2]", 51) + " ] } ]"), "51 device/index pairs, at most 50"},
      {Quantity(slot + R"(["Set", "Bogus"] } ])"), "subquantities[0].flags[1]: unknown flag \"Bogus\""},
      {R"({ "quantities": [ { "id": 70000, "name": "Q", "symbol": "q", "units": [] } ] })", "70000 is out of range"},
      {Quantity(R"("unit": 2, )" + units), "there is no unit 2 in \"units\""},
      {Quantity(R"("enabled": true, "state": 0, )" + units), "contradicts"},
      {R"({ "quantities": [ )" + Repeat(R"({ "id": 3, "name": "A", "symbol": "a", )" + units + " }", 2) + " ] }",
       "quantities[1]: id 3 is already used by quantities[0]"},
      {R"({ "current_group": 2, "groups": [ { "name": "A", "conditions": [] } ] })", "2 is out of range"},
      {Conditions(R"({ "flags": { "on": ["Set"], "off": ["Set"] } })"), "both on and off"},
      {Conditions(R"({ "device": 1, "untested": { "device": 2 } })"), "tested and untested"},
      {Conditions(R"({ "device": 1, "tests": 1 })"), "contradict"},
      {Conditions(Repeat("{}", 101)), "101 conditions, at most 100 fit"},
  };
  for (const auto& [source, message] : cases) {
    try {
      EncodeSource(Json::parse(source));
      ADD_FAILURE() << "accepted " << source;
    } catch (const ToolError& error) {
      EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << source << "\n" << error.what();
    }
  }
}

TEST(ExactNumberTest, FractionsRoundToTheNearestDouble) {
  std::mt19937_64 random(20240601);
  for (int i = 0; i < 100000; ++i) {
    const uint64_t p = (random() >> (random() % 64)) | 1, q = (random() >> (random() % 64)) | 1;
    const double d = DivideRounded(p, q);  // up to 2^53 one IEEE division rounds correctly
    const bool exact = p <= kExactDoubleLimit && q <= kExactDoubleLimit;
    ASSERT_TRUE(exact ? d == static_cast<double>(p) / q : testing::IsNearest(d, p, q)) << p << "/" << q;
  }
  EXPECT_EQ(DivideRounded((uint64_t{1} << 53) + 1, 1), 0x1p53);  // ties go to the even neighbour
  EXPECT_EQ(DivideRounded((uint64_t{1} << 53) + 3, 1), 0x1p53 + 4);
  EXPECT_EQ(ParseExactNumber("-9/5", nullptr), -1.8);
  std::string error;
  for (const char* bad : {"", "-", "1/", "1.5", "0x10", "1/2/3", " 1", "1e3", "+1", "18446744073709551616", "1/0"})
    EXPECT_FALSE(ParseExactNumber(bad, &error).has_value()) << bad;
  EXPECT_EQ(error, "\"1/0\" divides by zero");
}

TEST(NumberTextTest, ShortestTextThatReadsBack) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    if (!std::isfinite(value)) continue;
    const std::string text = FormatShortest(value);
    ASSERT_EQ(ParseDecimal(text), value) << text;
    // Each digit counts: %g with one digit fewer than the text has no longer reads back.
    const std::string mantissa = text.substr(0, text.find('e'));
    const size_t first = mantissa.find_first_not_of("-0."), last = mantissa.find_last_not_of("0.");
    const auto digits = static_cast<int>(last + 1 - first - (mantissa.find('.', first) < last));
    char shorter[400];  // room for any %g, though 17 digits never need it
    std::snprintf(shorter, sizeof(shorter), "%.*g", digits - 1, value);
    EXPECT_TRUE(digits == 1 || std::strtod(shorter, nullptr) != value) << text;
  }
  const std::pair<double, const char*> cases[] = {
      {0.1, "0.1"}, {-40, "-40"}, {0.0001, "0.0001"}, {1e15, "1000000000000000"}, {1e16, "1e+16"}, {1e-5, "1e-05"},
      {-0.0, "-0"}, {4.9e-324, "5e-324"}, {DBL_MAX, "1.7976931348623157e+308"}, {-INFINITY, "-inf"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatShortest(value), text);
  const std::pair<const char*, double> good[] = {{"+5", 5}, {"1.5e3", 1500}, {"2E-3", 0.002}, {".5", 0.5}, {"5.", 5}};
  for (const auto& [text, value] : good) EXPECT_EQ(ParseDecimal(text), value) << text;
  for (const char* text : {"", " 1", "1 ", "1x", "1,5", "0x10", "+-1", "+", ".", "e5", "1e", "nan", "-inf", "1e400"})
    EXPECT_THROW(ParseDecimal(text), ToolError) << "\"" << text << "\"";
}

TEST(TextCodecTest, Windows1252RoundTripsAndUtf8IsChecked) {
  std::string all, back;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(all), &back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xB0\x96\x99\x9F\x81"), "€°–™Ÿ\xC2\x81");  // an undefined byte: its C1 control
  EXPECT_FALSE(Utf8ToCp1252("ω", &back));
  EXPECT_FALSE(Utf8ToCp1252("\xC2\x80", &back));  // U+0080 has no byte: 0x80 is the euro sign
  EXPECT_TRUE(IsValidUtf8("ϑ °C µm/m ‰ \xF0\x9F\x98\x80"));
  for (const char* bad : {"\xB0", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\xE2\x82"})
    EXPECT_FALSE(IsValidUtf8(bad)) << ::testing::PrintToString(std::string(bad));
}

using ToolFilesTest = testing::TempFolderTest;

TEST_F(ToolFilesTest, BareNameWithoutExtensionTakesTheFileThatExists) {
  WriteWholeFile(data_ + "Groups.fdf", "x");
  EXPECT_EQ(ResolveStoreFile("GROUPS", data_), data_ + "Groups.fdf");  // letter case as on Windows
}

struct Result {
  int code;
  std::string out, err;
};

class UnitsToolTest : public testing::TempFolderTest {
 protected:
  // `environment`: a prefix such as "env -u DISPLAY NAME=VALUE".
  Result Run(const std::vector<std::string>& arguments, const std::string& input = "",
             const std::string& environment = "") const {
    WriteWholeFile(folder_ + "in", input);
    std::string command = environment + " UNITS_LANG=C '" UNITSTOOL_PATH "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";  // none holds a quote
    command += " <'" + folder_ + "in' >'" + folder_ + "out' 2>'" + folder_ + "err'";
    const int status = std::system(command.c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;  // -1 for a crash
    return {code, ReadWholeFile(folder_ + "out"), ReadWholeFile(folder_ + "err")};
  }

  const std::string built_ = UNITS_TEST_DATA_FOLDER;
};

TEST_F(UnitsToolTest, DefaultFilesFromTheLibrarysDataFolderRoundTripByteForByte) {
  // A bare name lies in the data folder of the loaded libunits.so, in any letter case.
  for (const std::string name : {"DEFAULT.UDF", "default.fdf"}) {
    const Result dump = Run({"dump", name});
    ASSERT_EQ(dump.code, 0) << dump.err;
    EXPECT_EQ(dump.err, "");
    ASSERT_EQ(Run({"build", "-", "-o", folder_ + name}, dump.out).code, 0);
    EXPECT_TRUE(ReadWholeFile(folder_ + name) == ReadWholeFile(built_ + (name[0] == 'D' ? name : "DEFAULT.FDF")));
  }
}

TEST_F(UnitsToolTest, FaultsGiveExitCodesAndMessagesButNoOutput) {
  WriteWholeFile(folder_ + "empty.udf", "");
  WriteWholeFile(folder_ + "junk.bin", "abc");
  WriteWholeFile(folder_ + "out.udf", "previous");
  const std::string build = folder_ + "out.udf";
  const struct {
    std::vector<std::string> arguments;
    int code;
    std::string message;
    std::string input = "";  // standard input
  } cases[] = {
      {{}, 2, "usage: unitstool [--lang LANG] COMMAND"}, {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
      {{"dump", "a", "b"}, 2, "usage: unitstool dump"}, {{"build", "a.json"}, 2, "usage: unitstool build"},
      {{"list", "--bogus"}, 2, "usage: unitstool list"}, {{"convert", "4"}, 2, "usage: unitstool convert"},
      {{"label", "4", "--symbol"}, 2, "usage: unitstool label"}, {{"names", "--group"}, 2, "usage: unitstool names"},
      {{"list", "--lang"}, 2, "--lang needs a language"}, {{"--lang=de", "list", "--lang", "en"}, 2, "given twice"},
      {{"select-unit"}, 2, "usage: unitstool select-unit ID"}, {{"select-unit", "-4"}, 2, "usage: unitstool select"},
      {{"select-unit", "4", "5"}, 2, "usage: unitstool select"}, {{"select-unit", "x"}, 1, "\"x\" is not a quantity"},
      {{"convert", "99", "1"}, 1, "no quantity 99 in the catalogue"}, {{"names", "--group", "99"}, 1, "no group 99"},
      {{"label", "4", "99"}, 1, "no quantity 99 in the catalogue"},  // and no label of 4 either
      {{"convert", "65536", "1"}, 1, "\"65536\" is not a quantity identifier"},
      {{"convert", "1", "km", "m", "--to-base"}, 2, "usage: unitstool convert"},
      {{"convert", "1,5", "m", "km"}, 1, "\"1,5\" is not a number"},
      {{"convert", "1", "furlong", "m"}, 1, "no unit \"furlong\" in the catalogue"},
      {{"convert", "1", "m", "degX"}, 1, "no unit \"degX\" in the catalogue"},  // as typed, not respelled
      {{"convert", "25", "degC", "m"}, 1, "cannot convert °C (Temperature) to m (Length)"},
      {{"convert", "5", "%", "%"}, 1, "\"%\" belongs to several quantities: Strain (22), Ratio (24); pair it"},
      {{"dump", "NO_SUCH.UDF"}, 1, "there is no file NO_SUCH.UDF in the data folder " + built_},
      {{"dump", "DEFAULT"}, 1, "give the extension"}, {{"dump", "NO_SUCH"}, 1, "neither NO_SUCH.udf nor NO_SUCH.fdf"},
      {{"dump", ""}, 1, "the file name is empty"}, {{"dump", folder_}, 1, "is not a regular file"},
      {{"dump", folder_ + "empty.udf"}, 1, "is empty"}, {{"dump", folder_ + "junk.bin"}, 1, "cannot tell whether"},
      {{"build", folder_ + "missing.json", "-o", build}, 1, "missing.json: No such file or directory"},
      {{"build", "-", "-o", build}, 1, "standard input is not valid JSON: parse error at line 1", "{ "},
      {{"build", "-", "-o", build}, 1, "number overflow", R"({ "quantities": [ { "id": 1, "factor": 1e999 } ] })"},
      {{"build", "-", "-o", build}, 1, "is named like a UDF file, but standard input describes an FDF file",
       R"({ "groups": [] })"},
      {{"build", "-", "-o", build}, 1, "standard input: quantities[0] (id 1): the key \"name\" is missing",
       R"({ "quantities": [ { "id": 1 } ] })"},
      {{"build", "-", "-o", folder_ + "no/x.fdf"}, 1, "cannot write " + folder_ + "no/x.fdf: No such",
       R"({ "groups": [] })"},
  };
  for (const auto& c : cases) {
    const Result result = Run(c.arguments, c.input);
    EXPECT_EQ(result.code, c.code) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "") << c.message;
  }
  EXPECT_EQ(ReadWholeFile(build), "previous");  // a refused build leaves its output as it was
  const std::string overview = Run({"--help"}).out;
  for (const char* command : {"list", "convert", "label", "names", "dump", "build", "select-unit"})
    EXPECT_NE(overview.find(std::string("\n  ") + command + " "), std::string::npos) << command;
  EXPECT_EQ(Run({"names", "--all", "--help"}).out.rfind("usage: unitstool names", 0), 0u);
}

TEST_F(UnitsToolTest, DumpShowsWhatIsReadOfADamagedFileAndFails) {
  const std::string whole = ReadWholeFile(built_ + "DEFAULT.UDF");
  WriteWholeFile(folder_ + "cut.udf", whole.substr(0, whole.size() - 100));
  const Result cut = Run({"dump", folder_ + "cut.udf"});
  EXPECT_EQ(cut.code, 1);
  EXPECT_NE(cut.err.find("cut.udf is damaged"), std::string::npos) << cut.err;
  EXPECT_TRUE(Json::parse(cut.out).contains("quantities"));
  WriteWholeFile(folder_ + "long.fdf", ReadWholeFile(built_ + "DEFAULT.FDF") + "xyz");
  const Result longer = Run({"dump", folder_ + "long.fdf"});  // the library reads such a file in full
  EXPECT_EQ(longer.code, 0);
  EXPECT_NE(longer.err.find("long.fdf: 3 bytes after the current-group index belong to nothing"), std::string::npos);
}

TEST_F(UnitsToolTest, ListAndConvertShowTheBuiltCatalogue) {
  const Json source = Json::parse(ReadWholeFile(std::string(UNITS_TEST_SOURCE_DATA) + "default_units.json"));
  const Json shown = Json::parse(Run({"list", "--json"}).out)["quantities"];
  ASSERT_EQ(shown.size(), source["quantities"].size());
  for (size_t i = 0; i < shown.size(); ++i) {
    const Json& q = source["quantities"][i];
    Json texts = Json::array();
    for (const Json& unit : q["units"]) texts.push_back(unit["text"]);
    EXPECT_EQ(shown[i], Json({{"id", q["id"]}, {"name", q["name"]}, {"symbol", q["symbol"]},
                              {"unit", texts[q["unit"].get<size_t>()]}, {"base", texts[0]}, {"units", texts}}));
  }
  EXPECT_NE(Run({"list", "--lang", "de"}).out.find("Temperatur "), std::string::npos);
  // Pressure shows in bar; the shortest decimal that reads back is printed.
  EXPECT_EQ(Run({"convert", "5", "101325"}).out, "1.01325 bar\n");
  EXPECT_EQ(Run({"convert", "5", "-0.1", "--to-base", "--relative"}).out, "-10000 Pa\n");
}

TEST_F(UnitsToolTest, ConvertFindsBothUnitsInTheQuantityThatHasThem) {
  const Json source = Json::parse(ReadWholeFile(std::string(UNITS_TEST_SOURCE_DATA) + "default_units.json"));
  std::map<std::string, double> pressure;  // unit text -> factor
  for (const Json& quantity : source["quantities"])
    for (const Json& unit : quantity["units"])
      if (quantity["id"] == 5) pressure[unit["text"]] = Node(unit["factor"], "").ExactNumber();
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"25", "°C", "°F"}, "77 °F"},  // 9/5 as a float would make it 76.99999881
      {{"-40", "°C", "°F"}, "-40 °F"}, {{"1", "km", "m"}, "1000 m"}, {{"0", "K", "°C"}, "-273.15 °C"},
      {{"1", "bar", "mmHg"}, FormatShortest(1 / pressure["bar"] * pressure["mmHg"]) + " mmHg"},
      {{"10", "°C", "°F", "--relative"}, "18 °F"},  // a difference: the offsets cancel
      {{"120", "1/min", "Hz"}, "2 Hz"},             // of several quantities, only Frequency has Hz
      {{"1", "1", "%"}, "100 %"},                   // three operands: "1" is a unit text, not a quantity
      // ASCII spellings, each against the stored text it stands for.
      {{"1", "degC", "°C"}, "1 °C"}, {{"1", "degF", "°F"}, "1 °F"}, {{"180", "deg", "°"}, "180 °"},
      {{"1", "um", "µm"}, "1 µm"}, {{"1", "uA", "µA"}, "1 µA"}, {{"1", "uV", "µV"}, "1 µV"},
      {{"1", "kOhm", "kΩ"}, "1 kΩ"}, {{"1", "m/s2", "m/s²"}, "1 m/s²"}, {{"1", "m/s^2", "m/s²"}, "1 m/s²"},
      {{"1", "m3/h", "m³/h"}, "1 m³/h"}, {{"1", "N*m", "N·m"}, "1 N·m"}, {{"1", "mm/s2", "m/s^2"}, "0.001 m/s²"},
  };
  for (const auto& [operands, shown] : cases) {
    std::vector<std::string> arguments = {"convert"};
    arguments.insert(arguments.end(), operands.begin(), operands.end());
    const Result result = Run(arguments);
    EXPECT_EQ(result.out, shown + "\n") << result.err;
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(UnitsToolTest, VersionIsTheProjectVersion) {
  const std::string cmake = ReadWholeFile(std::string(UNITS_TEST_SOURCE_DATA) + "../CMakeLists.txt");
  std::smatch version;
  ASSERT_TRUE(std::regex_search(cmake, version, std::regex(R"(project\(units VERSION ([0-9.]+))")));
  for (const char* word : {"--version", "version"}) EXPECT_EQ(Run({word}).out, "unitstool " + version[1].str() + "\n");
}

// Without a display the dialog is refused rather than shown where nobody sees
// it, and the process ends normally; an unknown quantity never loads the
// dialogs. The dialog itself, answered in a real window, is
// tests/dialogs/real_window_test.sh.
TEST_F(UnitsToolTest, DialogsWithoutADisplayFailAndSaveNothing) {
  const std::string udf = ReadWholeFile(built_ + "DEFAULT.UDF"), fdf = ReadWholeFile(built_ + "DEFAULT.FDF");
  const std::string headless = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM UNITS_DEBUG_LOG=";
  const auto start = std::chrono::steady_clock::now();
  const Result refused = Run({"select-unit", "5"}, "", headless + "stderr");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(refused.code, 1);  // not -1: nothing aborted
  EXPECT_NE(refused.err.find("Mensora: " UNITS_TEST_NO_DIALOG), std::string::npos) << refused.err;
  EXPECT_EQ(refused.out, "");
  // With the debug channel unset the tool tells the reason itself.
  for (const std::vector<std::string>& command : {std::vector<std::string>{"select-unit", "5"}, {"edit"}}) {
    const Result told = Run(command, "", headless);
    EXPECT_EQ(told.code, 1);
    EXPECT_NE(told.err.find("unitstool " + command[0] + ": " UNITS_TEST_NO_DIALOG), std::string::npos) << told.err;
  }
  const Result unknown = Run({"select-unit", "999"}, "", headless + "stderr");
  EXPECT_EQ(unknown.code, 1);
  EXPECT_NE(unknown.err.find("unitstool select-unit: no quantity 999 in the catalogue"), std::string::npos);
  EXPECT_EQ(unknown.err.find("Mensora: dialog"), std::string::npos) << unknown.err;
  EXPECT_TRUE(ReadWholeFile(built_ + "DEFAULT.UDF") == udf && ReadWholeFile(built_ + "DEFAULT.FDF") == fdf);
}

}  // namespace
}  // namespace tool
}  // namespace units
