#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/select_list.h"
#include "groups/group_model.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace {

using testing::Val;

using testing::MakeQuantity;

t_subquantity& Slot(t_quantity* q, int s, int32_t number, uint16_t state) {
  t_subquantity& slot = q->aSubQuantity[s];
  slot.lSubQuan = number;
  slot.dwFlags = kFlagData;
  slot.wState = state;
  CopyText(slot.szName, sizeof(slot.szName), "Slot");
  CopyText(slot.szSymbol, sizeof(slot.szSymbol), "s");
  return slot;
}

class EnumerationTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    auto first = MakeQuantity(10, "First", "f");
    first->dwState = kQuantityEnabled;
    t_subquantity& three = Slot(first.get(), 0, 1, kSlotDefined | kSlotEnabled | 0x2000);
    three.wCount = 3;
    for (uint16_t k = 0; k < 3; ++k) three.awDevice[k] = static_cast<uint16_t>(k + 1);
    Slot(first.get(), 1, 2, kSlotDefined);                  // disabled
    Slot(first.get(), 2, 3, kSlotEnabled);                  // removed
    auto disabled = MakeQuantity(11, "Second", "g");        // quantity disabled
    Slot(disabled.get(), 0, 7, kSlotDefined | kSlotEnabled);
    auto bare = MakeQuantity(12, "Third", "h");
    bare->dwState = kQuantityEnabled;
    QuantityTable table;
    table.push_back(std::move(first));
    table.push_back(std::move(disabled));
    table.push_back(std::move(bare));
    testing::InstallCatalogue(std::move(table));
    TheGroups().Replace({});
  }

  void ExpectStateRestored(int index, uint16_t active) {
    EXPECT_EQ(UnitGetFilterIndex(), index);
    EXPECT_EQ(Val(TheSelectList().wActive), active);
  }
};

TEST_F(EnumerationTest, PlainListHasEnabledQuantitiesWithZeroNumbers) {
  t_unitquantity* list = nullptr;
  int count = 0;
  ASSERT_TRUE(UnitGetQuantities(list, count));
  ASSERT_EQ(count, 2);
  EXPECT_EQ(Val(list[0].wQuantity), 10);
  EXPECT_EQ(Val(list[1].wQuantity), 12);
  EXPECT_EQ(Val(list[0].lSubQuantity), 0);
  EXPECT_EQ(Val(list[0].wKind), 0);
  EXPECT_EQ(Val(list[0].dwFlags), 0u);
  EXPECT_STREQ(list[1].szName, "Third");
  EXPECT_STREQ(list[1].szSymbol, "h");
  UnitDeleteArray(list);
}

TEST_F(EnumerationTest, PlainListWithNothingEnabledFails) {
  for (const auto& q : TheCatalogue().Records()) q->dwState = 0;
  t_unitquantity* list = reinterpret_cast<t_unitquantity*>(this);
  int count = 7;
  EXPECT_FALSE(UnitGetQuantities(list, count));
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(count, 0);
}

TEST_F(EnumerationTest, SubQuantitiesOfOneQuantity) {
  t_unitquantity* list = nullptr;
  int count = 0;
  ASSERT_TRUE(UnitGetSubQuantities(10, list, count));
  ASSERT_EQ(count, 3) << "three registrations, no record without device";
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(Val(list[k].wDevice), k + 1);
    EXPECT_EQ(Val(list[k].wKind), 0x2000);
    EXPECT_STREQ(list[k].szName, "Slot");
  }
  UnitDeleteArray(list);
  // A disabled quantity still answers with its active slots.
  ASSERT_TRUE(UnitGetSubQuantities(11, list, count));
  ASSERT_EQ(count, 1);
  EXPECT_EQ(Val(list[0].lSubQuantity), 7);
  UnitDeleteArray(list);
  ASSERT_TRUE(UnitGetSubQuantities(12, list, count));
  ASSERT_EQ(count, 1);
  EXPECT_EQ(Val(list[0].lSubQuantity), 0);
  EXPECT_EQ(Val(list[0].wKind), 0x1000);
  EXPECT_EQ(Val(list[0].dwFlags), 4u);
  UnitDeleteArray(list);
  EXPECT_FALSE(UnitGetSubQuantities(99, list, count));
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(count, 0);
}

TEST_F(EnumerationTest, AllQuantitiesIgnoreTheGroupButNotTheSelectList) {
  t_FilterEntry empty;
  InitFilterEntry(&empty);
  TheGroups().Replace({empty});
  UnitSetFilterIndex(1);
  UnitAddSelectList(10, 1, kFlagData, 2, 0, 0);
  t_unitquantity* list = nullptr;
  int count = 0;
  EXPECT_TRUE(UnitGetAllQuantities(list, count));
  ASSERT_EQ(count, 1);
  EXPECT_EQ(Val(list[0].wDevice), 2);
  UnitDeleteArray(list);
  ExpectStateRestored(1, 1);

  EXPECT_TRUE(UnitGetAllUnfilteredQuantities(list, count));
  EXPECT_EQ(count, 4);
  UnitDeleteArray(list);
  ExpectStateRestored(1, 1);

  list = UnitGetAllQuantities(count);
  EXPECT_EQ(count, 1);
  UnitDeleteArray(list);
  ExpectStateRestored(1, 1);
}

TEST_F(EnumerationTest, AllQuantitiesWithEmptyResultIsStillTrue) {
  UnitAddSelectList(99, 0, 0, 0, 0, 0);
  t_unitquantity* list = nullptr;
  int count = 3;
  EXPECT_TRUE(UnitGetAllQuantities(list, count));
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(UnitGetAllQuantities(count), nullptr);
}

TEST_F(EnumerationTest, SixArraysCopyTheUnfilteredQuery) {
  UnitAddSelectList(99, 0, 0, 0, 0, 0);  // ignored by this form
  unsigned short *devices = nullptr, *quantities = nullptr, *indexes = nullptr;
  int* subquantities = nullptr;
  unsigned long* flags = nullptr;
  int count = 0;
  ASSERT_TRUE(UnitGetQuantities(devices, quantities, subquantities, indexes, flags, count));
  ASSERT_EQ(count, 4);
  EXPECT_EQ(devices[2], 3);
  EXPECT_EQ(quantities[3], 12);
  EXPECT_EQ(subquantities[0], 1);
  EXPECT_EQ(subquantities[3], 0);
  EXPECT_EQ(indexes[1], 0);
  EXPECT_EQ(flags[3], 4ul);
  for (void* p : {static_cast<void*>(devices), static_cast<void*>(quantities), static_cast<void*>(subquantities),
                  static_cast<void*>(indexes), static_cast<void*>(flags)}) {
    EXPECT_TRUE(UnitDeletePtr(p));
  }
  ExpectStateRestored(0, 1);
}

TEST_F(EnumerationTest, SixArraysWithEmptyResultLeaveFiveNulls) {
  testing::InstallCatalogue(QuantityTable());
  unsigned short dummy = 0;
  unsigned short *devices = &dummy, *quantities = &dummy, *indexes = &dummy;
  int idummy = 0;
  int* subquantities = &idummy;
  unsigned long ldummy = 0;
  unsigned long* flags = &ldummy;
  int count = 9;
  EXPECT_FALSE(UnitGetQuantities(devices, quantities, subquantities, indexes, flags, count));
  EXPECT_EQ(devices, nullptr);
  EXPECT_EQ(quantities, nullptr);
  EXPECT_EQ(subquantities, nullptr);
  EXPECT_EQ(indexes, nullptr);
  EXPECT_EQ(flags, nullptr);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace units
