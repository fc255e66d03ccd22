// Names, symbols and unit texts as hosts receive them.
#include <thread>

#include "service_helpers.h"

namespace units {
namespace {

using namespace testing;  // the suites' own helpers

constexpr unsigned short kTime = 1, kRatio = 2 /* base unit without text */, kPressure = 5;

class TextsTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    auto pressure = MakeQuantity(kPressure, "Pressure", "p");
    CopyText(pressure->szText, sizeof(pressure->szText), "pressure");
    t_subquantity& measured = DefineSlot(pressure.get(), 1, 3, kFlagData, "Measured pressure", "pm");
    CopyText(measured.szText, sizeof(measured.szText), "p_meas");
    AddPairs(measured, {{2, 0}, {2, 3}, {2, 5}, {0, 4}, {9, 1}});
    DefineSlot(pressure.get(), 2, 1, kFlagSet, "Set pressure", "ps");
    auto time = MakeQuantity(kTime, "Time", "t");
    DefineUnit(time.get(), 0, "s", 1.0, 0.0);
    DefineUnit(time.get(), 2, "min", 1.0 / 60.0, 0.0);
    time->dwUnit = 2;
    Install(Table(std::move(pressure), std::move(time), MakeQuantity(kRatio, "Ratio", "r")));
  }
};

// Text mode shows the plain forms where there are any.
TEST_F(TextsTest, NamesAndSymbolsOfQuantitiesSubquantitiesAndRegistrations) {
  ScopedTranslation quantity("Pressure", "Druck"), slot("Set pressure", "Solldruck"), device0("Dev0", "Z");
  ScopedTranslation device2("Dev2", "V"), channel("V3", "Channel C");  // V3: device 2 with index 3 as a whole
  // `exact` and `loose`: the symbol with exact true and false.
  struct Case { unsigned short quantity; short subquantity; unsigned long flags; unsigned short device, index;
                const char *name, *exact, *loose; };
  const Case cases[] = {
      {99, 0, 0, 0, 0, "(?)", "(?)", "(?)"},
      {kPressure, 0, 0, 0, 0, "Druck", "p", "p"},
      {kPressure, 42, kFlagData, 0, 0, "Druck", "(?)", "p"},
      {kPressure, -1, 0, 0, 0, "Druck", "(?)", "p"},
      {kPressure, 1, kFlagSet, 7, 7, "Solldruck", "ps", "ps"},  // no registrations: any device
      {kPressure, 1, kFlagSet | 0x4000, 0, 0, "Druck", "(?)", "ps"},  // loose ignores bit 0x4000
      {kPressure, 3, kFlagData, 2, 0, "Measured pressureV", "pmV", "pmV"},
      {kPressure, 3, kFlagData, 2, 5, "Measured pressureV5", "pmV5", "pmV5"},
      {kPressure, 3, kFlagData, 2, 3, "Measured pressureChannel C", "pmChannel C", "pmChannel C"},
      {kPressure, 3, kFlagData, 9, 1, "Measured pressure1", "pm1", "pm1"},  // unnamed device: "xxxxx"
      {kPressure, 3, kFlagData, 0, 4, "Measured pressure4", "pmZ4", "pmZ4"},  // device 0 named in symbols only
      {kPressure, 3, kFlagData, 2, 9, "(?)", "(?)", "pm"},  // unregistered pair
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.quantity << "/" << c.subquantity << "/" << c.device << "/" << c.index);
    EXPECT_STREQ(UnitGetName(c.quantity, c.subquantity, c.flags, c.device, c.index), c.name);
    EXPECT_STREQ(UnitGetSymbol(c.quantity, c.subquantity, c.flags, c.device, c.index, true), c.exact);
    EXPECT_STREQ(UnitGetSymbol(c.quantity, c.subquantity, c.flags, c.device, c.index, false), c.loose);
  }
  ScopedTranslation long_name("Dev2", std::string(1000, 'n').c_str());
  EXPECT_EQ(UnitGetName(kPressure, 3, kFlagData, 2, 0), "Measured pressure" + std::string(255 - 17, 'n'))
      << "a long translation is cut to the buffer";
  EXPECT_EQ(UnitSetTextMode(7), 1);
  EXPECT_EQ(UnitGetMode(1) + UnitGetMode(2), 1 + 0xFFFF) << "selector 1 alone tells the mode";
  EXPECT_STREQ(UnitGetSymbol(kPressure, 0, 0, 0, 0, true), "pressure");
  EXPECT_STREQ(UnitGetSymbol(kPressure, 3, kFlagData, 9, 1, true), "p_meas1");
  EXPECT_STREQ(UnitGetSymbol(kPressure, 1, kFlagSet, 0, 0, true), "ps") << "no plain form: the symbol";
  EXPECT_EQ(UnitSetTextMode(0), 0);
  EXPECT_STREQ(UnitGetSymbol(kPressure, 0, 0, 0, 0, true), "p");
}

TEST_F(TextsTest, UnitFormatsGiveTheUnitPartOfAxisLabelsAndAllTextsNeedOneByteMore) {
  const struct { int32_t format; const char *part, *prefix, *suffix; } cases[] = {
      {0, "en min", "en ", ""}, {1, "/ min", "/ ", ""}, {2, "/ (min)", "/ (", ")"}, {3, "[min]", "[", "]"}};
  ScopedTranslation word("in", "en");
  for (const auto& c : cases) {
    SetUnitFormat(c.format);
    EXPECT_STREQ(UnitGetUnitTextEx(kTime), c.part) << c.format;
    EXPECT_STREQ(UnitGetUnitTextEx(kRatio), "") << "no unit text, no unit part";
    EXPECT_STREQ(UnitGetUnitTextFormat(0), c.prefix) << c.format;
    EXPECT_STREQ(UnitGetUnitTextFormat(5), c.suffix) << c.format;
  }
  SetUnitFormat(7);
  EXPECT_STREQ(UnitGetUnitTextEx(kTime), "");
  for (const char* text : {UnitGetUnitText(9), UnitGetUnitBaseText(9), UnitGetUnitTextEx(9)}) EXPECT_STREQ(text, "(?)");
  EXPECT_STREQ(UnitGetUnitTextFormat(0), "[") << "an unknown format keeps the previous prefix and suffix";
  EXPECT_STREQ(UnitGetUnitTextFormat(1), "]");
  // All unit texts: the list ends with a second NUL and needs one byte more;
  // what fits of a list that does not stays closed.
  using namespace std::string_literals;
  const std::pair<unsigned long, std::string> lists[] = {
      {8, "s\0min\0\0x"s}, {7, "s\0\0x"s}, {3, "xxxx"}, {2, "xxxx"}, {1, "xxxx"}, {0, "xxxx"}};
  char buffer[16];
  for (const auto& [size, written] : lists) {
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(UnitGetUnitTextAll(kTime, buffer, size), size == 8) << size;
    EXPECT_EQ(std::string(buffer, written.size()), written) << size;
  }
  EXPECT_FALSE(UnitGetUnitTextAll(9, buffer, sizeof(buffer)) || UnitGetUnitTextAll(kTime, nullptr, 100));
}

TEST_F(TextsTest, ResultsStayValidThroughFurtherCallsReloadsAndOtherThreads) {
  const char *minute = UnitGetUnitText(kTime), *second = UnitGetUnitBaseText(kTime);
  const char* symbols[4] = {
      UnitGetSymbol(kPressure, 0, 0, 0, 0, true), UnitGetSymbol(kPressure, 1, kFlagSet, 0, 0, true),
      UnitGetSymbol(kPressure, 3, kFlagData, 9, 1, true), UnitGetSymbol(kPressure, 3, kFlagData, 2, 9, false)};
  const char* name = UnitGetName(kPressure, 0, 0, 0, 0);
  std::thread([] { for (int i = 0; i < 5; ++i) UnitGetName(kPressure, 1, kFlagSet, 0, 0); }).join();
  // The catalogue the texts came from is released.
  Install(Table(MakeQuantity(kTime, "Time", "t")));
  EXPECT_STREQ(UnitGetUnitText(kTime), "");
  std::string kept = std::string(minute) + "|" + second + "|" + name;
  for (const char* symbol : symbols) kept += std::string("|") + symbol;
  EXPECT_EQ(kept, "min|s|Pressure|p|ps|pm1|pm");
}

}  // namespace
}  // namespace units
