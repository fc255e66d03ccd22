#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
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
using testing::ScopedTranslation;

using Row = std::tuple<int, int, int, int, int, unsigned, std::string, std::string>;

Row RowOf(const t_unitquantity& r) {
  return Row{Val(r.wQuantity), Val(r.lSubQuantity), Val(r.wKind), Val(r.wDevice), Val(r.wIndex), Val(r.dwFlags), r.szName, r.szSymbol};
}

std::vector<Row> Rows(t_unitquantity* list, int count) {
  std::vector<Row> rows;
  for (int i = 0; i < count; ++i) rows.push_back(RowOf(list[i]));
  UnitDeleteArray(list);
  return rows;
}

t_subquantity& Slot(t_quantity* q, int s, int32_t number, uint32_t flags, const char* name, const char* symbol,
                    uint16_t state = kSlotDefined | kSlotEnabled) {
  t_subquantity& slot = q->aSubQuantity[s];
  slot.lSubQuan = number;
  slot.dwFlags = flags;
  slot.wState = state;
  CopyText(slot.szName, sizeof(slot.szName), name);
  CopyText(slot.szSymbol, sizeof(slot.szSymbol), symbol);
  return slot;
}

void AddPair(t_subquantity& slot, uint16_t device, uint16_t index) {
  slot.awDevice[slot.wCount] = device;
  slot.awIndex[slot.wCount] = index;
  ++slot.wCount;
}

// Quantity 1: slot 0 with registrations (1,0) (1,1), slot 1 without.
// Quantity 2: only slot disabled -> bare. Quantity 3: disabled.
class GroupQueryTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    auto speed = MakeQuantity(1, "Speed", "v");
    speed->dwState = kQuantityEnabled;
    t_subquantity& measured = Slot(speed.get(), 0, 4, kFlagData, "Measured speed", "vm",
                                   kSlotDefined | kSlotEnabled | 0x3000);
    AddPair(measured, 1, 0);
    AddPair(measured, 1, 1);
    Slot(speed.get(), 1, 5, kFlagSet, "Set speed", "vs");
    auto level = MakeQuantity(2, "Level", "h");
    level->dwState = kQuantityEnabled | 0x1;
    Slot(level.get(), 0, 1, kFlagData, "Level off", "ho", kSlotDefined);
    auto hidden = MakeQuantity(3, "Hidden", "x");
    Slot(hidden.get(), 0, 1, kFlagData, "Hidden data", "xd");
    QuantityTable table;
    table.push_back(std::move(speed));
    table.push_back(std::move(level));
    table.push_back(std::move(hidden));
    testing::InstallCatalogue(std::move(table));
  }

  std::vector<Row> Filtered() {
    t_unitquantity* list = reinterpret_cast<t_unitquantity*>(this);  // must be overwritten
    int count = -1;
    const bool ok = UnitGetAllFilterQuantities(list, count);
    EXPECT_EQ(ok, count > 0);
    if (!ok) {
      EXPECT_EQ(list, nullptr);
    }
    return Rows(list, count);
  }
};

TEST_F(GroupQueryTest, AllQuantitiesInTableSlotAndRegistrationOrder) {
  ScopedTranslation device("Dev1", "A");
  ScopedTranslation name("Measured speed", "Gemessene Drehzahl");
  const std::vector<Row> expected = {
      Row{1, 4, 0x3000, 1, 0, kFlagData, "Gemessene Drehzahl", "vmA"},
      Row{1, 4, 0x3000, 1, 1, kFlagData, "Gemessene Drehzahl", "vmA1"},
      Row{1, 5, 0, 0, 0, kFlagSet, "Set speed", "vs"},
      Row{2, 0, 0x1000, 0, 0, kFlagData, "Level", "h"},
  };
  EXPECT_EQ(Filtered(), expected);
}

TEST_F(GroupQueryTest, EmptyGroupGivesNothing) {
  TheGroups().Replace({testing::MakeGroup("g", {})});
  ASSERT_TRUE(UnitSetFilterIndex(1));
  EXPECT_TRUE(Filtered().empty());
  int count = 5;
  EXPECT_EQ(UnitGetAllFilterQuantities(count), nullptr);
  EXPECT_EQ(count, 0);
}

TEST_F(GroupQueryTest, DeviceAndIndexConditionSelectsOneRegistration) {
  t_FilterCondition c = testing::MakeCondition(kTestDevice | kTestIndex);
  c.wDevice = 1;
  c.wIndex = 1;
  TheGroups().Replace({testing::MakeGroup("g", {c})});
  UnitSetFilterIndex(1);
  const std::vector<Row> rows = Filtered();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(std::get<4>(rows[0]), 1);
}

TEST_F(GroupQueryTest, BareQuantityMatchesADataCondition) {
  t_FilterCondition c = testing::MakeCondition(kTestFlags);
  c.dwFlagMask = kFlagData;
  c.dwFlagValue = kFlagData;
  TheGroups().Replace({testing::MakeGroup("g", {c})});
  UnitSetFilterIndex(1);
  const std::vector<Row> rows = Filtered();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(std::get<0>(rows[2]), 2);
}

TEST_F(GroupQueryTest, FailingSlotsDoNotBringTheBareQuantityBack) {
  t_FilterCondition c = testing::MakeCondition(kTestQuantity | kTestSubQuantity);
  c.wQuantity = 1;
  c.lSubQuan = 99;
  TheGroups().Replace({testing::MakeGroup("g", {c})});
  UnitSetFilterIndex(1);
  EXPECT_TRUE(Filtered().empty());
}

TEST_F(GroupQueryTest, SelectListAndGroupMustBothAgree) {
  t_FilterCondition c = testing::MakeCondition(kTestQuantity);
  c.wQuantity = 1;
  TheGroups().Replace({testing::MakeGroup("g", {c})});
  UnitSetFilterIndex(1);
  UnitAddSelectList(1, 5, kFlagSet, 0, 0, 0);  // in group and list
  UnitAddSelectList(2, 0, kFlagData, 0, 0, 0);  // in list only
  const std::vector<Row> rows = Filtered();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(std::get<1>(rows[0]), 5);
}

TEST_F(GroupQueryTest, OnlyOtherListNumbersFilledOffersNothing) {
  UnitAddSelectList(1, 5, kFlagSet, 0, 0, 3);
  EXPECT_TRUE(Filtered().empty());
  UnitClearSelectList();
  EXPECT_EQ(Filtered().size(), 4u);
}

TEST_F(GroupQueryTest, StaleGroupIndexMeansAllQuantities) {
  TheGroups().Replace({testing::MakeGroup("g", {})});
  TheGroups().SetCurrentIndexUnchecked(9);
  EXPECT_EQ(Filtered().size(), 4u);
  EXPECT_EQ(UnitGetFilterIndex(), 9);
}

TEST_F(GroupQueryTest, UnnamedDeviceLeavesTheSymbolAlone) {
  ScopedTranslation device("Dev1", "xXxXx");
  const std::vector<Row> rows = Filtered();
  EXPECT_EQ(std::get<7>(rows[0]), "vm");
  EXPECT_EQ(std::get<7>(rows[1]), "vm1");
}

TEST_F(GroupQueryTest, LongTextsAreCutToTheirFields) {
  const std::string device(300, 'D');
  ScopedTranslation name("Dev1", device.c_str());
  const std::string translated = std::string(50, 'a') + "\xC3\xA4";
  ScopedTranslation long_name("Measured speed", translated.c_str());
  const std::vector<Row> rows = Filtered();
  EXPECT_EQ(std::get<6>(rows[0]), std::string(40, 'a'));
  EXPECT_EQ(std::get<7>(rows[0]), "vm" + std::string(18, 'D'));
}

}  // namespace
}  // namespace units
