#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/catalogue.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace {

using testing::Val;

using testing::InstallCatalogue;
using testing::MakeQuantity;

class CatalogueTest : public testing::ModuleTest {};

TEST_F(CatalogueTest, NewRecordHasOnlyTheBaseUnitDefined) {
  t_quantity quantity;
  std::memset(&quantity, 0xAB, sizeof(quantity));
  InitQuantity(&quantity);
  EXPECT_EQ(Val(quantity.wId), 0);
  EXPECT_STREQ(quantity.szName, "");
  EXPECT_EQ(Val(quantity.dwState), 0u);
  EXPECT_EQ(Val(quantity.dwUnit), 0u);
  EXPECT_EQ(Val(quantity.aUnit[0].wState), 1);
  for (const t_quantityunit& unit : quantity.aUnit) {
    EXPECT_EQ(Val(unit.dFactor), 1.0);
    EXPECT_EQ(Val(unit.dOffset), 0.0);
    EXPECT_STREQ(unit.szText, "");
  }
  for (int i = 1; i < kUnitSlots; ++i) EXPECT_EQ(Val(quantity.aUnit[i].wState), 2);
  for (const t_subquantity& slot : quantity.aSubQuantity) {
    EXPECT_EQ(Val(slot.lSubQuan), 0);
    EXPECT_EQ(Val(slot.wState), 2);
    EXPECT_EQ(Val(slot.dwFlags), 0u);
    EXPECT_EQ(Val(slot.wCount), 0);
  }
}

TEST_F(CatalogueTest, LookupTakesTheFirstRecordInTableOrder) {
  QuantityTable table;
  table.push_back(MakeQuantity(7, "first"));
  table.push_back(MakeQuantity(9, "other"));
  table.push_back(MakeQuantity(7, "second"));
  InstallCatalogue(std::move(table));
  ASSERT_NE(FindQuantity(7), nullptr);
  EXPECT_STREQ(FindQuantity(7)->szName, "first");
  EXPECT_STREQ(FindQuantity(9)->szName, "other");
  EXPECT_EQ(FindQuantity(8), nullptr);
}

TEST_F(CatalogueTest, ReplacementForgetsIdentifiersOfTheOldTable) {
  QuantityTable first;
  first.push_back(MakeQuantity(1));
  first.push_back(MakeQuantity(65535));
  InstallCatalogue(std::move(first));
  QuantityTable second;
  second.push_back(MakeQuantity(2));
  InstallCatalogue(std::move(second));
  EXPECT_EQ(FindQuantity(1), nullptr);
  EXPECT_EQ(FindQuantity(65535), nullptr);
  ASSERT_NE(FindQuantity(2), nullptr);
  EXPECT_EQ(TheCatalogue().Count(), 1);
}

TEST_F(CatalogueTest, SubQuantityLookupNeedsDefinedSlotNumberAndExactFlags) {
  auto quantity = MakeQuantity(1);
  t_subquantity& removed = quantity->aSubQuantity[0];
  removed.lSubQuan = 5;
  removed.dwFlags = kFlagData;
  removed.wState = kSlotEnabled;  // enabled but not defined
  t_subquantity& disabled = quantity->aSubQuantity[1];
  disabled.lSubQuan = 5;
  disabled.dwFlags = kFlagData;
  disabled.wState = kSlotDefined | 0x1000;
  t_subquantity& negative = quantity->aSubQuantity[2];
  negative.lSubQuan = -1;
  negative.wState = kSlotDefined | kSlotEnabled;

  EXPECT_EQ(FindSubQuantity(quantity.get(), 5, kFlagData), &disabled);
  EXPECT_EQ(FindSubQuantity(quantity.get(), 5, kFlagData | 0x80000000u), nullptr);
  EXPECT_EQ(FindSubQuantity(quantity.get(), 5, kFlagSet), nullptr);
  EXPECT_EQ(FindSubQuantity(quantity.get(), -1, 0), nullptr);
  EXPECT_EQ(FindSubQuantity(nullptr, 5, kFlagData), nullptr);
}

TEST_F(CatalogueTest, DisplaySymbolFollowsTheTextMode) {
  auto with_text = MakeQuantity(1, "Temperature", "\xCF\x91");
  std::strcpy(with_text->szText, "theta");
  auto without_text = MakeQuantity(2, "Time", "t");
  EXPECT_STREQ(QuantityDisplaySymbol(*with_text), "\xCF\x91");
  UnitSetTextMode(7);
  EXPECT_EQ(UnitGetMode(1), 1);
  EXPECT_STREQ(QuantityDisplaySymbol(*with_text), "theta");
  EXPECT_STREQ(QuantityDisplaySymbol(*without_text), "t");
  t_subquantity slot = with_text->aSubQuantity[0];
  std::strcpy(slot.szSymbol, "S");
  EXPECT_STREQ(SubQuantityDisplaySymbol(slot), "S");
  std::strcpy(slot.szText, "set");
  EXPECT_STREQ(SubQuantityDisplaySymbol(slot), "set");
}

TEST_F(CatalogueTest, DamagedUnitIndexMeansTheBaseUnit) {
  auto quantity = MakeQuantity(1);
  testing::DefineUnit(quantity.get(), 3, "x", 2.0, 1.0);
  quantity->dwUnit = 3;
  EXPECT_EQ(&CurrentUnit(*quantity), &quantity->aUnit[3]);
  quantity->dwUnit = 10;
  EXPECT_EQ(&CurrentUnit(*quantity), &quantity->aUnit[0]);
  quantity->dwUnit = 0xFFFFFFFF;
  EXPECT_EQ(&CurrentUnit(*quantity), &quantity->aUnit[0]);
}

TEST(CopyTextTest, CutsInsideTheFieldAtACharacterBoundary) {
  char field[6];
  std::memset(field, 'x', sizeof(field));
  CopyText(field, sizeof(field), "abc");
  EXPECT_EQ(std::string(field, 6), std::string("abc\0\0\0", 6));
  CopyText(field, sizeof(field), "abcdefgh");
  EXPECT_STREQ(field, "abcde");
  // "abcd" + degree sign (2 bytes): the sign would be split, so it goes.
  CopyText(field, sizeof(field), "abcd\xC2\xB0");
  EXPECT_STREQ(field, "abcd");
  CopyText(field, sizeof(field), "ab\xE2\x82\xAC" "cd");  // euro sign fits whole
  EXPECT_STREQ(field, "ab\xE2\x82\xAC");
  // 8-bit code page text is cut at the limit.
  CopyText(field, sizeof(field), "abcd\xB0\xB0");
  EXPECT_STREQ(field, "abcd\xB0");
  CopyText(field, sizeof(field), nullptr);
  EXPECT_STREQ(field, "");
}

}  // namespace
}  // namespace units
