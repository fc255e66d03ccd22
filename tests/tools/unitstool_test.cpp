// unitstool as a user runs it: dump and build of the default files and of
// files that use every corner of the formats, and the faults it reports.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "catalogue/catalogue.h"
#include "groups/group_model.h"
#include "storage/fdf_format.h"
#include "storage/udf_format.h"
#include "tools/tool_runner.h"

namespace units {
namespace {

using testing::BuiltDataFolder;
using testing::ToolResult;

class UnitsToolTest : public testing::ToolTest {
 protected:
  // dump FILE > json, build json -o copy: the copy must equal FILE.
  void ExpectRoundTrip(const std::string& file, const std::string& extension) {
    const ToolResult dump = Run({"dump", file});
    ASSERT_EQ(dump.exit_code, 0) << dump.err;
    EXPECT_EQ(dump.err, "");
    Write("dumped.json", dump.out);
    const ToolResult build = Run({"build", Path("dumped.json"), "-o", Path("rebuilt" + extension)});
    ASSERT_EQ(build.exit_code, 0) << build.err;
    const std::string original = Read(file);
    const std::string rebuilt = Read(Path("rebuilt" + extension));
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(rebuilt.size(), original.size());
    EXPECT_TRUE(rebuilt == original) << "first difference at byte " << Mismatch(original, rebuilt);
  }

  static size_t Mismatch(const std::string& a, const std::string& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
  }

  // A run that must fail with `code` and a message holding `part`.
  void ExpectFailure(const std::vector<std::string>& arguments, int code, const std::string& part) {
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.exit_code, code) << result.err;
    EXPECT_NE(result.err.find(part), std::string::npos) << "stderr: " << result.err;
  }
};

// ---- round trips ----

TEST_F(UnitsToolTest, DefaultCatalogueRoundTripsByteForByte) {
  ExpectRoundTrip(BuiltDataFolder() + "DEFAULT.UDF", ".udf");
}

TEST_F(UnitsToolTest, DefaultGroupsRoundTripByteForByte) { ExpectRoundTrip(BuiltDataFolder() + "DEFAULT.FDF", ".fdf"); }

std::unique_ptr<t_quantity> UnusualQuantity() {
  auto q = std::make_unique<t_quantity>();
  InitQuantity(q.get());
  q->wId = 7;
  CopyText(q->szName, sizeof(q->szName), "Drehzahl \x96 Soll");        // Windows-1252 en dash
  CopyText(q->szSymbol, sizeof(q->szSymbol), "abcdefghijklmnopqrst");  // the full 20 bytes
  CopyText(q->szText, sizeof(q->szText), "\xCF\x89");                  // UTF-8 omega
  q->dwState = kQuantityEnabled | 0x100;
  q->dwUnit = 3;
  CopyText(q->aUnit[0].szText, sizeof(q->aUnit[0].szText),
           "\xB0"
           "C");  // Windows-1252 degree sign
  // Slot 1: removed, its values still stored. Slot 2: never used.
  q->aUnit[1] = {2.5, 1.0, "old", 0};
  q->aUnit[3] = {1.0 / 3.0, -0.0, "x", kUnitDefined};
  q->aUnit[4] = {1e-300, 1e300, "tiny", 3};
  q->aUnit[5] = {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity(), "odd",
                 kUnitDefined};
  // Slot 0 unused; 1 with all 50 pairs, kind bits and a flag bit without name;
  // 2 removed; 3 with a negative number and a stray state bit.
  t_subquantity& full = q->aSubQuantity[1];
  full.lSubQuan = 3;
  CopyText(full.szName, sizeof(full.szName), "1234567890123456789012345678901234567890");
  full.wState = kSlotDefined | kSlotEnabled | 0xA000;
  full.dwFlags = kFlagData | kFlagMean | 0x1000;
  full.wCount = kMaxPairs;
  for (int i = 0; i < kMaxPairs; ++i) {
    full.awDevice[i] = static_cast<uint16_t>(i * 1000);
    full.awIndex[i] = static_cast<uint16_t>(65535 - i);
  }
  t_subquantity& removed = q->aSubQuantity[2];
  removed.lSubQuan = 1;
  CopyText(removed.szName, sizeof(removed.szName), "gone");
  removed.wState = kSlotEnabled;
  removed.dwFlags = kFlagSet;
  t_subquantity& odd = q->aSubQuantity[3];
  odd.lSubQuan = -5;
  CopyText(odd.szName, sizeof(odd.szName), "odd");
  CopyText(odd.szText, sizeof(odd.szText), "\x80");  // Windows-1252 euro sign
  odd.wState = kSlotDefined | 0x0100;
  odd.dwFlags = kFlagError | kFlagEqui | kFlagOffset;
  return q;
}

TEST_F(UnitsToolTest, EveryStoredFieldOfACatalogueSurvivesDumpAndBuild) {
  QuantityTable table;
  table.push_back(UnusualQuantity());
  auto bare = std::make_unique<t_quantity>();
  InitQuantity(bare.get());
  bare->wId = 65535;
  table.push_back(std::move(bare));
  auto no_base = std::make_unique<t_quantity>();
  InitQuantity(no_base.get());
  no_base->wId = 8;
  no_base->aUnit[0].wState = 2;  // the base unit slot as unused as the others
  table.push_back(std::move(no_base));
  Write("unusual.udf", EncodeUdf(table, 3, 1));
  ExpectRoundTrip(Path("unusual.udf"), ".udf");

  // Texts that are not UTF-8 show as Windows-1252.
  const ToolResult dump = Run({"dump", Path("unusual.udf")});
  EXPECT_NE(dump.out.find(R"({ "windows-1252": "°C" })"), std::string::npos) << dump.out;
  EXPECT_NE(dump.out.find(R"({ "windows-1252": "Drehzahl – Soll" })"), std::string::npos);
  EXPECT_NE(dump.out.find(R"({ "windows-1252": "€" })"), std::string::npos);
  EXPECT_NE(dump.out.find(R"("text": "ω")"), std::string::npos);
  EXPECT_NE(dump.out.find(R"("flags": ["Data", "Mean", 4096])"), std::string::npos);
  EXPECT_NE(dump.out.find(R"([49000, 65486])"), std::string::npos);
}

TEST_F(UnitsToolTest, EveryStoredFieldOfTheGroupsSurvivesDumpAndBuild) {
  std::vector<t_FilterEntry> groups(3);
  for (t_FilterEntry& entry : groups) InitFilterEntry(&entry);
  t_FilterEntry& full = groups[0];
  std::memset(full.szName, 'x', kGroupNameWidth - 1);
  full.lCount = kMaxConditions;
  for (int c = 0; c < kMaxConditions; ++c) {
    t_FilterCondition& condition = full.aCondition[c];
    condition.wTests = static_cast<uint16_t>(c % 32);
    condition.wQuantity = static_cast<uint16_t>(c);
    condition.lSubQuan = c - 50;
    condition.dwFlagMask = static_cast<uint32_t>(c) * 0x01010101u;
    condition.dwFlagValue = static_cast<uint32_t>(c) * 0x00010001u;  // not always inside the mask
    condition.wDevice = static_cast<uint16_t>(c * 7);
    condition.wIndex = static_cast<uint16_t>(c * 11);
  }
  full.aCondition[5].wTests = 0x8021;  // bits that no test uses
  t_FilterEntry& spare = groups[1];
  CopyText(spare.szName, sizeof(spare.szName),
           "Gr\xFC\xDF"
           "e");  // Windows-1252
  spare.lCount = 1;
  spare.aCondition[0].wTests = kTestQuantity;
  spare.aCondition[0].wQuantity = 4;
  spare.aCondition[3].wTests = kTestDevice;  // past the count: stored, never read
  spare.aCondition[3].wDevice = 9;
  spare.aCondition[7].lSubQuan = 12;
  t_FilterEntry& empty = groups[2];
  CopyText(empty.szName, sizeof(empty.szName), "");
  empty.aCondition[99].dwFlagMask = 0x80000000u;
  Write("unusual.fdf", EncodeFdf(groups, 2));
  ExpectRoundTrip(Path("unusual.fdf"), ".fdf");

  const ToolResult dump = Run({"dump", Path("unusual.fdf")});
  EXPECT_NE(dump.out.find(R"({ "windows-1252": "Grüße" })"), std::string::npos) << dump.out;
  EXPECT_NE(dump.out.find(R"("current_group": 2)"), std::string::npos);
}

TEST_F(UnitsToolTest, BuildReadsStandardInput) {
  const std::string source = R"({ "current_group": 1, "groups": [ { "name": "A", "conditions": [ {} ] } ] })";
  const ToolResult result = Run({"build", "-", "-o", Path("in.fdf")}, &source);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  std::vector<t_FilterEntry> expected(1);
  InitFilterEntry(&expected[0]);
  CopyText(expected[0].szName, sizeof(expected[0].szName), "A");
  expected[0].lCount = 1;
  EXPECT_TRUE(Read(Path("in.fdf")) == EncodeFdf(expected, 1));
}

// ---- the data folder ----

TEST_F(UnitsToolTest, BareNamesLieInTheLibrarysDataFolder) {
  const ToolResult by_name = Run({"dump", "DEFAULT.UDF"});
  const ToolResult by_path = Run({"dump", BuiltDataFolder() + "DEFAULT.UDF"});
  ASSERT_EQ(by_name.exit_code, 0) << by_name.err;
  EXPECT_EQ(by_name.out, by_path.out);
  // A name differing in case is found, as on Windows.
  EXPECT_EQ(Run({"dump", "default.fdf"}).out, Run({"dump", BuiltDataFolder() + "DEFAULT.FDF"}).out);
  // Without extension both files would do.
  ExpectFailure({"dump", "DEFAULT"}, 1, "give the extension");
  ExpectFailure({"dump", "NO_SUCH_FILE.UDF"}, 1, "no file NO_SUCH_FILE.UDF in the data folder");
}

// ---- faults ----

TEST_F(UnitsToolTest, CommandLineFaultsGiveUsage) {
  EXPECT_EQ(Run({}).exit_code, 2);
  ExpectFailure({"frobnicate"}, 2, "unknown command \"frobnicate\"");
  ExpectFailure({"dump"}, 2, "usage: unitstool dump");
  ExpectFailure({"dump", "a", "b"}, 2, "usage: unitstool dump");
  ExpectFailure({"build", "source.json"}, 2, "usage: unitstool build");
  ExpectFailure({"build", "-o", "x.udf"}, 2, "usage: unitstool build");
  ExpectFailure({"build", "a.json", "-o", "x.udf", "--bogus"}, 2, "usage: unitstool build");
  const ToolResult help = Run({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("dump"), std::string::npos);
  EXPECT_NE(help.out.find("build"), std::string::npos);
  EXPECT_EQ(Run({"build", "--help"}).exit_code, 0);
}

TEST_F(UnitsToolTest, DumpRefusesMissingEmptyAndUnrecognisableFiles) {
  ExpectFailure({"dump", Path("missing.udf")}, 1, "No such file or directory");
  Write("empty.udf", "");
  ExpectFailure({"dump", Path("empty.udf")}, 1, "is empty");
  Write("junk.bin", "abc");
  ExpectFailure({"dump", Path("junk.bin")}, 1, "cannot tell whether");
  ExpectFailure({"dump", folder_}, 1, "is not a regular file");
}

TEST_F(UnitsToolTest, DumpOfADamagedFileShowsWhatIsReadAndFails) {
  const std::string whole = Read(BuiltDataFolder() + "DEFAULT.UDF");
  Write("cut.udf", whole.substr(0, whole.size() - 100));
  const ToolResult cut = Run({"dump", Path("cut.udf")});
  EXPECT_EQ(cut.exit_code, 1);
  EXPECT_NE(cut.err.find("is damaged"), std::string::npos) << cut.err;
  EXPECT_NE(cut.out.find("\"quantities\""), std::string::npos);

  const std::string groups = Read(BuiltDataFolder() + "DEFAULT.FDF");
  Write("cut.fdf", groups.substr(0, groups.size() - 2));
  ExpectFailure({"dump", Path("cut.fdf")}, 1, "is damaged");

  // Extra bytes are only a warning: the library reads such a file in full.
  Write("long.fdf", groups + "xyz");
  const ToolResult longer = Run({"dump", Path("long.fdf")});
  EXPECT_EQ(longer.exit_code, 0);
  EXPECT_NE(longer.err.find("3 bytes"), std::string::npos) << longer.err;
}

class BuildFaultTest : public UnitsToolTest {
 protected:
  // Builds `source` into an existing file: the fault must be reported with
  // `part` and the file left as it was.
  void ExpectRefused(const std::string& source, const std::string& part, const char* output = "out.udf") {
    Write("source.json", source);
    Write(output, "previous");
    ExpectFailure({"build", Path("source.json"), "-o", Path(output)}, 1, part);
    EXPECT_EQ(Read(Path(output)), "previous");
  }

  static std::string Quantity(const std::string& fields) {
    return R"({ "quantities": [ { "id": 1, "name": "Q", "symbol": "q", )" + fields + " } ] }";
  }
  static std::string Units(const std::string& units) { return Quantity(R"("units": [ )" + units + " ]"); }
};

TEST_F(BuildFaultTest, UnreadableOrMalformedSources) {
  ExpectFailure({"build", Path("missing.json"), "-o", Path("x.udf")}, 1, "No such file or directory");
  ExpectRefused(R"({ "quantities": [ )", "is not valid JSON: parse error at line 1");
  ExpectRefused("[1, 2]", "must be a JSON object");
  ExpectRefused("{}", "neither \"quantities\"");
  ExpectRefused(R"({ "quantities": [], "groups": [] })", "both");
  ExpectRefused(Units(std::string(R"({ "text": "s)") + "\xFF" + R"(", "factor": 1 })"), "ill-formed UTF-8");
  ExpectRefused(Units(R"({ "text": "s", "factr": 1 })"), "units[0]: unknown key \"factr\"");
}

TEST_F(BuildFaultTest, TextsThatDoNotFitTheirFields) {
  ExpectRefused(Units(R"({ "text": "123456789012345678901", "factor": 1 })"),
                "units[0].text: \"123456789012345678901\" takes 21 bytes; the field holds at most 20");
  // Seven degree signs are 7 characters but 14 bytes, plus 7 more bytes.
  ExpectRefused(Units(R"({ "text": "°°°°°°°1234567", "factor": 1 })"), "takes 21 bytes");
  ExpectRefused(R"({ "quantities": [ { "id": 1, "name": "12345678901234567890123456789012345678901", "symbol": "q",
                  "units": [ { "text": "s", "factor": 1 } ] } ] })",
                "quantities[0] (id 1).name");
  ExpectRefused(Units(R"({ "text": "a\u0000b", "factor": 1 })"), "NUL");
  ExpectRefused(Units(R"({ "text": { "windows-1252": "ω" }, "factor": 1 })"), "Windows-1252 cannot hold");
}

TEST_F(BuildFaultTest, FactorsThatAreNotNumbers) {
  ExpectRefused(Units(R"({ "text": "s", "factor": "abc" })"), "units[0].factor: \"abc\" is neither a number nor");
  ExpectRefused(Units(R"({ "text": "s", "factor": "1/0" })"), "divides by zero");
  ExpectRefused(Units(R"({ "text": "s", "factor": "1.5/2" })"), "is neither a number nor");
  ExpectRefused(Units(R"({ "text": "s", "factor": "18446744073709551616/3" })"), "below 2^64");
  ExpectRefused(Units(R"({ "text": "s", "factor": true })"), "expected a number or a rational");
  ExpectRefused(Units(R"({ "text": "s", "factor": 1e999 })"), "not valid JSON: number overflow");
  ExpectRefused(Units(R"({ "text": "s" })"), "units[0]: the key \"factor\" is missing");
}

TEST_F(BuildFaultTest, CountsBeyondTheRecord) {
  std::string eleven;
  for (int i = 0; i < 11; ++i) eleven += std::string(i ? ", " : "") + R"({ "text": "u", "factor": 1 })";
  ExpectRefused(Units(eleven), "units: 11 units, at most 10 fit");
  ExpectRefused(Units(""), "needs at least its base unit");
  std::string subquantities;
  for (int i = 0; i < 11; ++i)
    subquantities += std::string(i ? ", " : "") + R"({ "number": 0, "name": "s", "flags": [] })";
  ExpectRefused(Quantity(R"("units": [ { "text": "s", "factor": 1 } ], "subquantities": [ )" + subquantities + " ]"),
                "11 subquantities, at most 10 fit");
  std::string pairs;
  for (int i = 0; i < 51; ++i) pairs += std::string(i ? ", " : "") + "[1, 2]";
  ExpectRefused(Quantity(R"("units": [ { "text": "s", "factor": 1 } ], "subquantities": [ { "number": 0, "name": "s",
                         "flags": [], "pairs": [ )" +
                         pairs + " ] } ]"),
                "51 device/index pairs, at most 50 fit");
}

TEST_F(BuildFaultTest, ValuesOutOfRangeOrContradictory) {
  ExpectRefused(R"({ "quantities": [ { "id": 70000, "name": "Q", "symbol": "q", "units": [] } ] })",
                "quantities[0].id: 70000 is out of range");
  ExpectRefused(Quantity(R"("unit": 2, "units": [ { "text": "s", "factor": 1 } ])"), "there is no unit 2 in \"units\"");
  ExpectRefused(Quantity(R"("unit": 1, "units": [ { "text": "s", "factor": 1 }, null, { "text": "m", "factor": 2 } ])"),
                "there is no unit 1");
  ExpectRefused(Quantity(R"("unit": 10, "units": [ { "text": "s", "factor": 1 } ])"), "out of range");
  ExpectRefused(R"({ "quantities": [ { "id": 3, "name": "A", "symbol": "a", "units": [ { "text": "s", "factor": 1 } ] },
                                     { "id": 3, "name": "B", "symbol": "b", "units": [ { "text": "s", "factor": 1 } ] } ] })",
                "id 3 is already used by quantities[0]");
  ExpectRefused(Quantity(R"("units": [ { "text": "s", "factor": 1 } ], "subquantities": [ { "number": 0, "name": "s",
                         "flags": ["Set", "Bogus"] } ])"),
                "unknown flag \"Bogus\"");
  ExpectRefused(Quantity(R"("enabled": true, "state": 0, "units": [ { "text": "s", "factor": 1 } ])"), "contradicts");
  ExpectRefused(R"({ "text_mode": 2, "quantities": [] })", "text mode is 0 (symbols), 1 (texts) or null");
  ExpectRefused(R"({ "unit_format": 4, "quantities": [] })", "unit_format: 4 is out of range");
}

TEST_F(BuildFaultTest, GroupFaults) {
  ExpectRefused(R"({ "current_group": 2, "groups": [ { "name": "A", "conditions": [] } ] })",
                "current_group: 2 is out of range", "out.fdf");
  ExpectRefused(
      R"({ "groups": [ { "name": "A", "conditions": [ { "flags": { "on": ["Set"], "off": ["Set"] } } ] } ] })",
      "both on and off", "out.fdf");
  ExpectRefused(R"({ "groups": [ { "name": "A", "conditions": [ { "device": 1, "untested": { "device": 2 } } ] } ] })",
                "tested and untested", "out.fdf");
  ExpectRefused(R"({ "groups": [ { "name": "A", "conditions": [ { "device": 1, "tests": 1 } ] } ] })", "contradict",
                "out.fdf");
  std::string name(300, 'n');
  ExpectRefused(R"({ "groups": [ { "name": ")" + name + R"(", "conditions": [] } ] })",
                "takes 300 bytes; the field holds at most 299", "out.fdf");
  std::string conditions;
  for (int i = 0; i < 101; ++i) conditions += std::string(i ? ", " : "") + "{}";
  ExpectRefused(R"({ "groups": [ { "name": "A", "conditions": [ )" + conditions + " ] } ] }",
                "101 conditions, at most 100 fit", "out.fdf");
}

TEST_F(BuildFaultTest, OutputNamedForTheOtherFormat) {
  ExpectRefused(R"({ "groups": [] })", "is named like a UDF file, but", "out.udf");
  ExpectRefused(Units(R"({ "text": "s", "factor": 1 })"), "is named like an FDF file, but", "out.fdf");
  Write("source.json", R"({ "groups": [] })");
  ExpectFailure({"build", Path("source.json"), "-o", Path("no/such/folder/out.fdf")}, 1, "cannot create");
}

}  // namespace
}  // namespace units
