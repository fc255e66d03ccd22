// Start-up from UNITS.INI, the guard every export runs in, and UnitSetValue.
#include <functional>

#include "service_helpers.h"

namespace units {
namespace {

using testing::ReadWholeFile;
using testing::Text;

class StartupTest : public testing::ServiceTest {
 protected:
  void WriteIni(const std::string& lines) { testing::WriteWholeFile(data_ + "UNITS.INI", "[Units]\n" + lines); }

  // Time shown in ms, and one group holding it, current.
  void WriteDefaultCatalogue() {
    auto time = testing::EnabledQuantity(1, "Time", "t");
    testing::DefineUnit(time.get(), 0, "s", 1.0, 0.0);
    testing::DefineUnit(time.get(), 1, "ms", 1000.0, 0.0);
    time->dwUnit = 1;
    testing::WriteUdf(data_ + "DEFAULT.UDF", testing::Table(std::move(time)));
    testing::WriteWholeFile(data_ + "DEFAULT.FDF",
                            EncodeFdf({testing::MakeGroup("T", {testing::QuantityCondition(1)})}, 1));
  }
};

TEST_F(StartupTest, ConfigurationDecidesServiceEditModeAndLogs) {
  struct Case { const char* ini; bool refused; int32_t edit_mode; bool logs; };
  const Case cases[] = {{"Mode=VORTA\nLog=On\nQuanNonExisting=On\n", false, kEditFull, true},
                        {"Mode=vorta\nLog=On\n", true, kEditFull, false},
                        {"Mode=autocreate\nLog=yes\nQuanNonExisting=YES\n", false, kEditAutoCreate, true},
                        {"Mode=maintenance\nLog=1\nQuanNonExisting=1\n", false, kEditFull, false},
                        {"Mode=Unknown\n", true, kEditFull, false},
                        {"Log=No\n", false, kEditFull, false}};
  WriteDefaultCatalogue();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    std::filesystem::remove(data_ + "KEY.LOG");
    std::filesystem::remove(data_ + "UNITSQUAN.LOG");
    WriteIni(c.ini);
    Attach();
    EXPECT_EQ(TheService().refused(), c.refused);
    EXPECT_EQ(TheService().SettingsCopy().edit_mode, c.edit_mode);
    double single = 0.0, values[2] = {1.0, 3.0};
    EXPECT_EQ(UnitGetCurrent(1, 2.0, single) && UnitGetCurrentRel(1, values, values, 2), !c.refused);
    EXPECT_EQ(single + values[0] + values[1], c.refused ? 4.0 : 6000.0) << "logged or not, values convert";
    EXPECT_FALSE(UnitGetBase(99, 1.0, single));
    UnitGetSymbol(99, -1, 0x80000004ul, 65535, 2, true);
    UnitGetSymbol(1, 0, 0, 0, 0, true);  // found: no line
    EXPECT_EQ(ReadWholeFile(data_ + "KEY.LOG"),
              c.logs ? "ToCurrent(1) : OK\nToCurrent(1) : OK\nToBase(99) : Fail\n" : "");
    EXPECT_EQ(ReadWholeFile(data_ + "UNITSQUAN.LOG"),
              c.logs ? "Not found - Quan: 99 SubQuan: 4294967295 Flags: 2147483652 Device: 65535 Index: 2\n" : "");
  }
}

bool Unknown(const char* text) { return std::strcmp(text, "(?)") == 0; }

// `empty_is_true`: the export reports an empty list as true, except when refused.
bool ListFailed(testing::ListExport list_export, bool empty_is_true = false) {
  bool result = false;
  return testing::Rows(list_export, &result).empty() && ((empty_is_true && !TheService().refused()) || !result);
}

// A call of every guarded export that succeeds on the catalogue above, in an
// order where each leaves the next its chance; true when it gave its failure.
const std::vector<std::pair<const char*, std::function<bool()>>>& GuardedCalls() {
  static const std::vector<std::pair<const char*, std::function<bool()>>> calls = {
      {"UnitHasPrivilege", [] { return !UnitHasPrivilege(1); }},
      {"UnitSetValue", [] { uint32_t mask = 1; return !UnitSetValue(100, &mask, 4); }},
      {"UnitSetTextMode", [] { return UnitSetTextMode(1) == 0; }},
      {"UnitGetTextMode", [] { return !UnitGetTextMode(); }},
      {"UnitGetMode", [] { return UnitGetMode(1) == 0xFFFF; }},
      {"UnitGetName", [] { return Unknown(UnitGetName(1, 0, 0, 0, 0)); }},
      {"UnitGetSymbol", [] { return Unknown(UnitGetSymbol(1, 0, 0, 0, 0, true)); }},
      {"UnitGetUnitText", [] { return Unknown(UnitGetUnitText(1)); }},
      {"UnitGetUnitBaseText", [] { return Unknown(UnitGetUnitBaseText(1)); }},
      {"UnitGetUnitTextEx", [] { return Unknown(UnitGetUnitTextEx(1)); }},
      {"UnitGetUnitTextFormat", [] { return *UnitGetUnitTextFormat(0) == '\0'; }},
      {"UnitGetUnitTextAll", [] { char b[32]; return !UnitGetUnitTextAll(1, b, sizeof(b)); }},
      {"UnitGetFactors", [] { float f = 0, o = 0; return !UnitGetFactors(1, "ms", f, o); }},
      {"UnitGetFilterIndex", [] { return UnitGetFilterIndex() == 0; }},
      {"UnitGetFilterEntries", [] { char b[64]; return UnitGetFilterEntries(b, sizeof(b)) == 0; }},
      {"UnitGetQuantities", [] { return ListFailed(UnitGetQuantities); }},
      {"UnitGetQuantities(arrays)", [] { return testing::NumberArrays().Failed(); }},
      {"UnitGetSubQuantities",
       [] { return ListFailed([](auto& l, int& n) { return UnitGetSubQuantities(1, l, n); }); }},
      {"UnitGetAllQuantities", [] { return ListFailed(UnitGetAllQuantities, true); }},
      {"UnitGetAllUnfilteredQuantities", [] { return ListFailed(UnitGetAllUnfilteredQuantities, true); }},
      {"UnitGetAllFilterQuantities", [] { return ListFailed(UnitGetAllFilterQuantities); }},
      {"UnitSetFilterIndex", [] { return !UnitSetFilterIndex(0); }},
      {"UnitExistQuantity", [] { return !UnitExistQuantity(1, 0, 0, 0, 0); }},
      {"UnitAddDeviceIndex", [] { return !UnitAddDeviceIndex(1, 0, 0, 7, 1); }},
      {"UnitAddSelectList", [] { return !UnitAddSelectList(1, 0, 0, 0, 0, 0); }},
      {"UnitClearSelectList", [] { return !UnitClearSelectList(); }},
      {"UnitChangeUDF", [] { return !UnitChangeUDF(Text("Software\\Guard"), Text("u"), Text("DEFAULT")); }},
      {"UnitChangeUserInfo", [] {
         UnitChangeUserInfo(Text("Software\\Info"), nullptr, 1);
         return TheService().SettingsCopy().registry_path.empty();
       }},
  };
  return calls;
}

TEST_F(StartupTest, RefusedLibraryAnswersEveryCallWithItsFailureDespiteItsCatalogue) {
  WriteDefaultCatalogue();
  WriteIni("Mode=vorta\n");
  Attach();
  for (const auto& [name, failed] : GuardedCalls()) EXPECT_TRUE(failed()) << name;
  double d = 3.0, values[1] = {3.0};
  float f = 3.0f;
  EXPECT_FALSE(UnitGetCurrent(1, 1.0, d) || UnitGetBaseRel(1, 1.0f, f) || UnitGetCurrent(1, values, values, 1));
  EXPECT_EQ(d + f + values[0], 9.0) << "outputs stay as they were";
}

TEST_F(StartupTest, ExportWhoseBodyThrowsReturnsItsFailure) {
  WriteDefaultCatalogue();
  Attach();
  TheService().FailExportsForTesting(true);
  for (const auto& [name, failed] : GuardedCalls()) EXPECT_TRUE(failed()) << name;
  TheService().FailExportsForTesting(false);
  // The same calls do their work now: the table asks for real results.
  for (const auto& [name, failed] : GuardedCalls()) EXPECT_FALSE(failed()) << name;
}

TEST_F(StartupTest, PrivilegeMaskNeedsFourBytesAndASecondAttachStartsFromScratch) {
  WriteDefaultCatalogue();
  Attach();
  uint32_t mask = 0x6;
  for (unsigned long size : {0ul, 2ul, 8ul}) EXPECT_FALSE(UnitSetValue(100, &mask, size)) << size;
  EXPECT_FALSE(UnitSetValue(100, nullptr, 4) || UnitSetValue(104, &mask, 4) || UnitSetValue(101, &mask, 4));
  EXPECT_TRUE(UnitHasPrivilege(0x1)) << "nothing above changed the mask";
  EXPECT_TRUE(UnitSetValue(100, &mask, 4));
  EXPECT_FALSE(UnitHasPrivilege(0x1));
  EXPECT_TRUE(UnitHasPrivilege(0x3));
  ASSERT_TRUE(UnitAddSelectList(99, 0, 0, 0, 0, 0));
  EXPECT_TRUE(testing::Rows(UnitGetAllQuantities).empty());
  Attach();
  EXPECT_TRUE(UnitHasPrivilege(0x1));
  EXPECT_EQ(testing::Rows(UnitGetAllQuantities).size(), 1u) << "the select list is empty again";
}

using SetValueTest = testing::ServiceTest;

TEST_F(SetValueTest, WorkingNameKeysStoreValidNamesButReportFalse) {
  using namespace std::string_literals;
  // `text` (with its NUL, if any) is written over a buffer of 'b's.
  const struct { uint16_t key; std::string text; unsigned long size; std::string names; } cases[] = {
      {102, "Plant.udf\0"s, 260, "Plant.udf|DEFAULT.FDF"}, {103, "Plant.fdf\0"s, 10, "Plant.udf|Plant.fdf"},
      {102, "Other.udf\0"s, 261, "Plant.udf|Plant.fdf"},   {102, "Other.udf\0"s, 0, "Plant.udf|Plant.fdf"},
      {103, "\0"s, 5, "Plant.udf|Plant.fdf"},              {102, ""s, 5, "bbbbb|Plant.fdf"},
      {103, ""s, 260, "bbbbb|" + std::string(259, 'b')},  // unterminated: cut, and always terminated
  };
  for (const auto& c : cases) {
    char buffer[300];
    std::memset(buffer, 'b', sizeof(buffer));
    std::memcpy(buffer, c.text.data(), c.text.size());
    EXPECT_FALSE(UnitSetValue(c.key, buffer, c.size));
    const Settings settings = TheService().SettingsCopy();
    EXPECT_EQ(settings.working_udf + "|" + settings.working_fdf, c.names) << c.key << " size " << c.size;
  }
}

}  // namespace
}  // namespace units
