#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/catalogue.h"
#include "catalogue/select_list.h"
#include "module/module_state.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace {

using testing::Val;

using testing::MakeQuantity;

class RegistrationTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    auto force = MakeQuantity(4, "Force", "F");
    force->dwState = kQuantityEnabled;
    t_subquantity& slot = force->aSubQuantity[0];
    slot.lSubQuan = 2;
    slot.dwFlags = kFlagData;
    slot.wState = kSlotDefined | kSlotEnabled;
    auto bare = MakeQuantity(6, "Torque", "M");
    CopyText(bare->szText, sizeof(bare->szText), "torque");
    QuantityTable table;
    table.push_back(std::move(force));
    table.push_back(std::move(bare));
    testing::InstallCatalogue(std::move(table));
  }
};

TEST_F(RegistrationTest, SlotWithoutPairsStandsForDeviceZeroIndexZero) {
  EXPECT_TRUE(UnitExistQuantity(4, 2, kFlagData, 0, 0));
  EXPECT_FALSE(UnitExistQuantity(4, 2, kFlagData, 3, 1));
  EXPECT_FALSE(UnitExistQuantity(4, 2, kFlagSet, 0, 0));
  EXPECT_FALSE(UnitExistQuantity(99, 2, kFlagData, 0, 0));
}

TEST_F(RegistrationTest, FirstRegistrationKeepsTheBarePairAndSaves) {
  Module().from_file_only = 1;
  Module().working_udf = "Saved.udf";
  Module().working_fdf = "Saved.fdf";
  EXPECT_TRUE(UnitAddDeviceIndex(4, 2, kFlagData, 3, 1));
  const t_subquantity& slot = FindQuantity(4)->aSubQuantity[0];
  ASSERT_EQ(Val(slot.wCount), 2);
  EXPECT_EQ(Val(slot.awDevice[0]), 0);
  EXPECT_EQ(Val(slot.awIndex[0]), 0);
  EXPECT_EQ(Val(slot.awDevice[1]), 3);
  EXPECT_EQ(Val(slot.awIndex[1]), 1);
  EXPECT_TRUE(UnitExistQuantity(4, 2, kFlagData, 0, 0));
  EXPECT_TRUE(UnitExistQuantity(4, 2, kFlagData, 3, 1));
  EXPECT_FALSE(testing::ReadWholeFile(folder_ + "Saved.udf").empty()) << "the registration is saved at once";
  EXPECT_FALSE(UnitAddDeviceIndex(4, 2, kFlagData, 3, 1));
  EXPECT_EQ(Val(FindQuantity(4)->aSubQuantity[0].wCount), 2);
}

TEST_F(RegistrationTest, QuantityWithoutSlotsGetsSlotZeroNamedLikeItself) {
  EXPECT_TRUE(UnitAddDeviceIndex(6, 0, 0, 1, 0));
  const t_subquantity& slot = FindQuantity(6)->aSubQuantity[0];
  EXPECT_EQ(Val(slot.wState) & 0x3, 0x3);
  EXPECT_STREQ(slot.szName, "Torque");
  EXPECT_STREQ(slot.szSymbol, "M");
  EXPECT_STREQ(slot.szText, "torque");
  EXPECT_EQ(Val(slot.wCount), 2);
}

TEST_F(RegistrationTest, FullSlotTakesNoMore) {
  t_subquantity& slot = FindQuantity(4)->aSubQuantity[0];
  slot.wCount = 50;
  for (int k = 0; k < 50; ++k) {
    slot.awDevice[k] = 1;
    slot.awIndex[k] = static_cast<uint16_t>(k);
  }
  EXPECT_FALSE(UnitAddDeviceIndex(4, 2, kFlagData, 2, 0));
  // Another slot with the same number and flags takes it.
  t_subquantity& twin = FindQuantity(4)->aSubQuantity[5];
  twin.lSubQuan = 2;
  twin.dwFlags = kFlagData;
  twin.wState = kSlotDefined | kSlotEnabled;
  EXPECT_TRUE(UnitAddDeviceIndex(4, 2, kFlagData, 2, 0));
  EXPECT_EQ(Val(twin.wCount), 2);
  EXPECT_FALSE(UnitAddDeviceIndex(4, 99, kFlagData, 2, 0));
}

TEST_F(RegistrationTest, SelectListStoresEachVariantOnce) {
  EXPECT_TRUE(UnitAddSelectList(4, 2, kFlagData, 0, 0, 0));
  EXPECT_TRUE(UnitAddSelectList(4, 2, kFlagData, 0, 0, 0));
  EXPECT_EQ(TheSelectList().alCount[0], 1);
  EXPECT_EQ(Val(TheSelectList().wActive), 1);
}

TEST_F(RegistrationTest, SelectListRefusesThe501stEntryAndBadListNumbers) {
  for (int k = 0; k < 500; ++k) ASSERT_TRUE(UnitAddSelectList(4, k, 0, 0, 0, 2));
  EXPECT_FALSE(UnitAddSelectList(4, 500, 0, 0, 0, 2));
  EXPECT_FALSE(UnitAddSelectList(4, 499, 0, 0, 0, 2)) << "a full list answers false even for a stored entry";
  EXPECT_FALSE(UnitAddSelectList(4, 1, 0, 0, 0, 5));
  EXPECT_FALSE(UnitAddSelectList(4, 1, 0, 0, 0, -1));
  EXPECT_FALSE(UnitAddSelectList(4, 1, 0, 0, 0, 1 << 30));
}

TEST_F(RegistrationTest, ListNumbersShareTheirPositions) {
  EXPECT_TRUE(UnitAddSelectList(4, 2, kFlagData, 1, 1, 1));
  const t_unitselectlist& store = TheSelectList();
  EXPECT_EQ(Val(store.aEntry[0].wDevice), 1);
  EXPECT_FALSE(store.Admits(4, 2, kFlagData, 1, 1)) << "list 0 is empty";
  EXPECT_TRUE(UnitAddSelectList(4, 2, kFlagData, 7, 7, 0));
  EXPECT_EQ(Val(store.aEntry[0].wDevice), 7) << "list 0 took the shared position";
  EXPECT_TRUE(store.Admits(4, 2, kFlagData, 7, 7));
}

TEST_F(RegistrationTest, ClearingSwitchesTheRestrictionOff) {
  UnitAddSelectList(4, 2, kFlagData, 0, 0, 0);
  EXPECT_TRUE(UnitClearSelectList());
  EXPECT_EQ(Val(TheSelectList().wActive), 0);
  EXPECT_EQ(Val(TheSelectList().aEntry[0].lSubQuantity), -1);
  UnitAddSelectList(4, 2, kFlagData, 0, 0, 0);
  EXPECT_FALSE(UnitClearSelectList(3));
  EXPECT_EQ(Val(TheSelectList().wActive), 0);
  EXPECT_EQ(TheSelectList().alCount[0], 0);
  EXPECT_EQ(Val(TheSelectList().aEntry[0].lSubQuantity), -1);
  UnitAddSelectList(4, 2, kFlagData, 0, 0, 0);
  EXPECT_FALSE(UnitClearSelectList(9));
  EXPECT_EQ(TheSelectList().alCount[0], 0);
  EXPECT_EQ(Val(TheSelectList().aEntry[0].lSubQuantity), 2) << "positions stay for a list number of 5 or more";
}

}  // namespace
}  // namespace units
