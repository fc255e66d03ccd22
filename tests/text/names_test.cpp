#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalogue/catalogue.h"
#include "language.h"
#include "module/module_state.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace {

using testing::MakeQuantity;
using testing::ScopedTranslation;

constexpr unsigned short kPressure = 5;
constexpr short kMeasured = 3;

class NamesTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    auto pressure = MakeQuantity(kPressure, "Pressure", "p");
    t_subquantity& slot = pressure->aSubQuantity[1];
    slot.lSubQuan = kMeasured;
    slot.dwFlags = kFlagData;
    slot.wState = kSlotDefined | kSlotEnabled;
    CopyText(slot.szName, sizeof(slot.szName), "Measured pressure");
    CopyText(slot.szSymbol, sizeof(slot.szSymbol), "pm");
    slot.wCount = 4;
    const uint16_t devices[] = {2, 2, 0, 9};
    const uint16_t indexes[] = {0, 3, 4, 1};
    for (int k = 0; k < 4; ++k) {
      slot.awDevice[k] = devices[k];
      slot.awIndex[k] = indexes[k];
    }
    t_subquantity& plain = pressure->aSubQuantity[2];
    plain.lSubQuan = 1;
    plain.dwFlags = kFlagSet;
    plain.wState = kSlotDefined | kSlotEnabled;
    CopyText(plain.szName, sizeof(plain.szName), "Set pressure");
    CopyText(plain.szSymbol, sizeof(plain.szSymbol), "ps");
    QuantityTable table;
    table.push_back(std::move(pressure));
    testing::InstallCatalogue(std::move(table));
  }

  std::string Name(short s, unsigned long f, unsigned short d, unsigned short i) {
    return UnitGetName(kPressure, s, f, d, i);
  }
  std::string Symbol(short s, unsigned long f, unsigned short d, unsigned short i, bool exact) {
    return UnitGetSymbol(kPressure, s, f, d, i, exact);
  }
};

TEST_F(NamesTest, UnknownQuantityOrSubquantity) {
  EXPECT_STREQ(UnitGetName(99, 0, 0, 0, 0), "(?)");
  EXPECT_STREQ(UnitGetSymbol(99, 0, 0, 0, 0, true), "(?)");
  ScopedTranslation german("Pressure", "Druck");
  EXPECT_EQ(Name(42, kFlagData, 0, 0), "Druck");
  EXPECT_EQ(Name(-1, 0, 0, 0), "Druck");
}

TEST_F(NamesTest, SlotWithoutRegistrationsGivesItsOwnTexts) {
  ScopedTranslation german("Set pressure", "Solldruck");
  EXPECT_EQ(Name(1, kFlagSet, 7, 7), "Solldruck");
  EXPECT_EQ(Symbol(1, kFlagSet, 7, 7, true), "ps");
}

TEST_F(NamesTest, DeviceNameAndIndexFollowTheSlotName) {
  ScopedTranslation device("Dev2", "V");
  EXPECT_EQ(Name(kMeasured, kFlagData, 2, 0), "Measured pressureV");
  EXPECT_EQ(Name(kMeasured, kFlagData, 2, 3), "Measured pressureV3");
  EXPECT_EQ(Symbol(kMeasured, kFlagData, 2, 3, true), "pmV3");
  ScopedTranslation channel("V3", "Channel C");
  EXPECT_EQ(Name(kMeasured, kFlagData, 2, 3), "Measured pressureChannel C");
  EXPECT_EQ(Symbol(kMeasured, kFlagData, 2, 3, true), "pmChannel C");
}

TEST_F(NamesTest, UnnamedDeviceContributesNothing) {
  EXPECT_EQ(Name(kMeasured, kFlagData, 9, 1), "Measured pressure1");
  ScopedTranslation unnamed("Dev9", "XxXxX");
  EXPECT_EQ(Name(kMeasured, kFlagData, 9, 1), "Measured pressure1");
  EXPECT_EQ(Symbol(kMeasured, kFlagData, 9, 1, true), "pm1");
}

TEST_F(NamesTest, DeviceZeroIsBareInNamesButLookedUpInSymbols) {
  ScopedTranslation zero("Dev0", "Z");
  EXPECT_EQ(Name(kMeasured, kFlagData, 0, 4), "Measured pressure4");
  EXPECT_EQ(Symbol(kMeasured, kFlagData, 0, 4, true), "pmZ4");
}

TEST_F(NamesTest, UnregisteredPairFallsBackOnlyWhenNotExact) {
  EXPECT_EQ(Name(kMeasured, kFlagData, 2, 9), "(?)");
  EXPECT_EQ(Symbol(kMeasured, kFlagData, 2, 9, true), "(?)");
  EXPECT_EQ(Symbol(kMeasured, kFlagData, 2, 9, false), "pm");
}

TEST_F(NamesTest, InexactSymbolIgnoresFlagBit4000AndFallsBackToTheQuantity) {
  EXPECT_EQ(Symbol(1, kFlagSet | 0x4000, 0, 0, false), "ps");
  EXPECT_EQ(Symbol(1, kFlagSet | 0x4000, 0, 0, true), "(?)");
  EXPECT_EQ(Symbol(8, 0, 0, 0, false), "p");
  EXPECT_EQ(Symbol(0, 0, 0, 0, true), "p");
}

TEST_F(NamesTest, TextModeShowsThePlainFormWhenThereIsOne) {
  t_quantity* pressure = FindQuantity(kPressure);
  CopyText(pressure->szText, sizeof(pressure->szText), "pressure");
  UnitSetTextMode(1);
  EXPECT_EQ(Symbol(0, 0, 0, 0, true), "pressure");
  EXPECT_EQ(Symbol(1, kFlagSet, 0, 0, true), "ps");  // empty text: the symbol
}

TEST_F(NamesTest, NotFoundLogWritesOneLinePerMiss) {
  Module().missing_quantity_log = true;
  UnitGetSymbol(77, -1, 0x80000004ul, 65535, 2, true);
  UnitGetSymbol(kPressure, kMeasured, kFlagData, 2, 9, false);
  UnitGetName(77, 0, 0, 0, 0);  // names never log
  UnitGetSymbol(kPressure, kMeasured, kFlagData, 2, 3, true);  // found: no line
  EXPECT_EQ(testing::ReadWholeFile(folder_ + "UNITSQUAN.LOG"),
            "Not found - Quan: 77 SubQuan: 4294967295 Flags: 2147483652 Device: 65535 Index: 2\n"
            "Not found - Quan: 5 SubQuan: 3 Flags: 4 Device: 2 Index: 9\n");
}

TEST_F(NamesTest, LongTranslationsAreCutInsideTheBuffer) {
  const std::string long_name(1000, 'n');
  ScopedTranslation device("Dev2", long_name.c_str());
  const std::string name = Name(kMeasured, kFlagData, 2, 0);
  EXPECT_EQ(name.size(), 255u);
  EXPECT_EQ(name.substr(0, 17), "Measured pressure");
}

}  // namespace
}  // namespace units
