// Start-up from UNITS.INI, the guard every export runs in, and UnitSetValue.
#include <functional>
#include <initializer_list>

#include "platform/system_fonts.h"
#include "service/font_holder.h"
#include "service_helpers.h"

namespace units {
namespace {

using namespace testing;  // the suites' own helpers

// The logs are text files in the system's own line ends.
std::string Lines(std::initializer_list<const char*> lines) {
#if defined(_WIN32)
  const char* end = "\r\n";
#else
  const char* end = "\n";
#endif
  std::string text;
  for (const char* line : lines) text += std::string(line) + end;
  return text;
}

// Time shown in ms, and one group holding it, current; attached.
class StartupTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    auto time = EnabledQuantity(1, "Time", "t");
    DefineUnit(time.get(), 0, "s", 1.0, 0.0);
    DefineUnit(time.get(), 1, "ms", 1000.0, 0.0);
    time->dwUnit = 1;
    WriteUdf(data_ + "DEFAULT.UDF", Table(std::move(time)));
    const t_FilterCondition time_only{1, -1, 0, 0, 0, kTestQuantity, 0};
    WriteWholeFile(data_ + "DEFAULT.FDF", EncodeFdf({MakeGroup("T", {time_only})}, 1));
    Attach();
  }
};

// A refused library answers every call through the guard checked below.
TEST_F(StartupTest, ConfigurationDecidesServiceEditModeAndLogs) {
  struct Case { const char* ini; bool refused; int32_t edit_mode; bool logs; };
  const Case cases[] = {{"Mode=VORTA\nLog=On\nQuanNonExisting=On\n", false, kEditFull, true},
                        {"Mode=vorta\nLog=On\n", true, kEditFull, false},
                        {"Mode=autocreate\nLog=yes\nQuanNonExisting=YES\n", false, kEditAutoCreate, true},
                        {"Mode=maintenance\nLog=1\nQuanNonExisting=1\n", false, kEditFull, false},
                        {"Mode=Unknown\n", true, kEditFull, false},
                        {"Log=No\n", false, kEditFull, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    for (const char* log : {"KEY.LOG", "UNITSQUAN.LOG"}) std::filesystem::remove(data_ + log);
    WriteWholeFile(data_ + "UNITS.INI", std::string("[Units]\n") + c.ini);
    Attach();
    EXPECT_EQ(TheService().refused(), c.refused);
    EXPECT_EQ(TheService().SettingsCopy().edit_mode, c.edit_mode);
    // Symbols need the font with the symbol glyphs while symbols are shown.
    const K_DORVFont* fonts = TheService().FontHolder();
    EXPECT_STREQ(fonts != nullptr ? fonts->SymbolFontName() : "", c.refused ? "" : "Ardelin");
    const std::string system_face = platform::MessageBoxFontFace();
    EXPECT_EQ(K_DORVFont(15, kTextMode).SymbolFontName(), system_face.empty() ? "MS Sans Serif" : system_face);
    EXPECT_EQ(TheService().Commit(TheService().ContentsCopy()), !c.refused);
    double single = 0.0, values[2] = {1.0, 3.0};
    EXPECT_EQ(UnitGetCurrent(1, 2.0, single) && UnitGetCurrentRel(1, values, values, 2), !c.refused);
    EXPECT_EQ(single + values[0] + values[1], c.refused ? 4.0 : 6000.0) << "logged or not, values convert";
    EXPECT_FALSE(UnitGetBase(99, 1.0, single));
    UnitGetSymbol(99, -1, 0x80000004ul, 65535, 2, true);
    UnitGetSymbol(1, 0, 0, 0, 0, true);  // found: no line
    EXPECT_EQ(ReadWholeFile(data_ + "KEY.LOG"),
              c.logs ? Lines({"ToCurrent(1) : OK", "ToCurrent(1) : OK", "ToBase(99) : Fail"}) : "");
    EXPECT_EQ(ReadWholeFile(data_ + "UNITSQUAN.LOG"),
              c.logs ? Lines({"Not found - Quan: 99 SubQuan: 4294967295 Flags: 2147483652 Device: 65535 Index: 2"}) : "");
  }
}

bool Unknown(const char* text) { return std::strcmp(text, "(?)") == 0; }

template <typename Export>
bool ListFailed(Export list_export) {
  bool result = true;
  return Rows(list_export, &result).empty() && !result;
}
bool ListFailed(ListExport list_export) { return ListFailed<ListExport>(list_export); }

// A call of every guarded export that succeeds on the catalogue above, in an
// order where each leaves the next its chance; true when it gave its failure.
TEST_F(StartupTest, ExportWhoseBodyThrowsReturnsItsFailure) {
  const std::pair<const char*, std::function<bool()>> calls[] = {
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
      {"UnitGetQuantities(arrays)", [] { return NumberArrays().Failed(); }},
      {"UnitGetSubQuantities",
       [] { return ListFailed([](auto& l, int& n) { return UnitGetSubQuantities(1, l, n); }); }},
      {"UnitGetAllQuantities", [] { return ListFailed(UnitGetAllQuantities); }},
      {"UnitGetAllUnfilteredQuantities", [] { return ListFailed(UnitGetAllUnfilteredQuantities); }},
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
  TheService().FailExportsForTesting(true);
  for (const auto& [name, failed] : calls) EXPECT_TRUE(failed()) << name;
  TheService().FailExportsForTesting(false);
  // The same calls do their work now: the table asks for real results.
  for (const auto& [name, failed] : calls) EXPECT_FALSE(failed()) << name;
}

TEST_F(StartupTest, PrivilegeMaskNeedsFourBytesAndASecondAttachStartsFromScratch) {
  uint32_t mask = 0x6;
  for (unsigned long size : {0ul, 2ul, 8ul}) EXPECT_FALSE(UnitSetValue(100, &mask, size)) << size;
  EXPECT_FALSE(UnitSetValue(100, nullptr, 4) || UnitSetValue(104, &mask, 4) || UnitSetValue(101, &mask, 4));
  EXPECT_TRUE(UnitHasPrivilege(0x1)) << "nothing above changed the mask";
  EXPECT_TRUE(UnitSetValue(100, &mask, 4) && !UnitHasPrivilege(0x1) && UnitHasPrivilege(0x3));
  ASSERT_TRUE(UnitAddSelectList(99, 0, 0, 0, 0, 0) && Rows(UnitGetAllQuantities).empty());
  Attach();
  EXPECT_TRUE(UnitHasPrivilege(0x1) && Rows(UnitGetAllQuantities).size() == 1u) << "mask and select list anew";
}

TEST_F(StartupTest, WorkingNameKeysStoreValidNamesButReportFalse) {
  using namespace std::string_literals;
  // `text` (with its NUL, if any) is written over a buffer of 'b's.
  const struct { uint16_t key; std::string text; unsigned long size; std::string names; } cases[] = {
      {102, "Plant.udf\0"s, 260, "Plant.udf|DEFAULT.FDF"}, {103, "Plant.fdf\0"s, 10, "Plant.udf|Plant.fdf"},
      {102, "Other.udf\0"s, 261, "Plant.udf|Plant.fdf"},   {102, "Other.udf\0"s, 0, "Plant.udf|Plant.fdf"},
      {103, "\0"s, 5, "Plant.udf|Plant.fdf"},              {102, ""s, 5, "bbbbb|Plant.fdf"},
      {103, ""s, 260, "bbbbb|" + std::string(259, 'b')}};  // unterminated: cut, and always terminated
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
