// Enumerations, the group query with select lists, and device registrations.
#include "service_helpers.h"

namespace units {
namespace {

using namespace testing;  // the suites' own helpers

// Speed: slot 4 with registrations (1,0) (1,1), slot 5 without, slot 6 disabled. Level: only a disabled
// slot, so it is offered bare. Hidden: a disabled quantity.
QuantityTable Records() {
  auto speed = EnabledQuantity(1, "Speed", "v");
  t_subquantity& measured = DefineSlot(speed.get(), 0, 4, kFlagData, "Measured speed", "vm");
  measured.wState |= 0x3000;
  AddPairs(measured, {{1, 0}, {1, 1}});
  DefineSlot(speed.get(), 1, 5, kFlagSet, "Set speed", "vs");
  DefineSlot(speed.get(), 2, 6, kFlagData, "Off speed", "vo").wState = kSlotDefined;
  auto level = EnabledQuantity(2, "Level", "h");
  DefineSlot(level.get(), 0, 1, kFlagData, "Level off", "ho").wState = kSlotDefined;
  auto hidden = MakeQuantity(3, "Hidden", "x");
  DefineSlot(hidden.get(), 0, 1, kFlagData, "Hidden data", "xd");
  return Table(std::move(speed), std::move(level), std::move(hidden));
}

// The whole offer, in table, slot and registration order.
const std::vector<Row> kAll = {
    Row{1, 4, 0x3000, 1, 0, kFlagData, "Measured speed", "vmA"},
    Row{1, 4, 0x3000, 1, 1, kFlagData, "Measured speed", "vmA1"},
    Row{1, 5, 0, 0, 0, kFlagSet, "Set speed", "vs"},
    Row{2, 0, 0x1000, 0, 0, kFlagData, "Level", "h"},
};

std::vector<Row> Pick(std::initializer_list<size_t> positions) {
  std::vector<Row> rows;
  for (size_t p : positions) rows.push_back(kAll[p]);
  return rows;
}

std::vector<Row> SubQuantities(unsigned short quantity, bool* result = nullptr) {
  static unsigned short asked;
  asked = quantity;
  return Rows([](t_unitquantity*& list, int& count) { return UnitGetSubQuantities(asked, list, count); }, result);
}

// The filtered query in both forms, which must agree.
std::vector<Row> Filtered() {
  bool result = false;
  std::vector<Row> rows = Rows(UnitGetAllFilterQuantities, &result);
  int count = -1;
  UnitDeleteArray(UnitGetAllFilterQuantities(count));
  EXPECT_TRUE(result == !rows.empty() && count == static_cast<int>(rows.size())) << count;
  return rows;
}

using EnumerationTest = ServiceTest;

TEST_F(EnumerationTest, ListsHoldEachRegistrationAndTheCurrentGroupRestrictsTheFilteredQueryOnly) {
  const t_FilterCondition registration{0, -1, 0, 1, 1, kTestDevice | kTestIndex, 0},
      data{0, -1, kFlagData, 0, 0, kTestFlags, kFlagData}, bare{1, 0, 0, 0, 0, kTestQuantity | kTestSubQuantity, 0};
  Install(Records(), {MakeGroup("empty"), MakeGroup("registration", {registration}), MakeGroup("data", {data}),
                      MakeGroup("bare", {bare})});
  ScopedTranslation dev1("Dev1", "A");
  const std::vector<std::vector<Row>> expected = {
      kAll, {}, Pick({1}), Pick({0, 1, 3}), {} /* slots that fail do not make the quantity bare */};
  for (int index = 0; index < static_cast<int>(expected.size()); ++index) {
    ASSERT_TRUE(UnitSetFilterIndex(index));
    EXPECT_EQ(Filtered(), expected[index]) << "group " << index;
    EXPECT_EQ(Rows(UnitGetAllQuantities), kAll) << "group " << index;
  }
  EXPECT_FALSE(UnitSetFilterIndex(5) || UnitSetFilterIndex(-1));
  EXPECT_EQ(UnitGetFilterIndex(), 4);
  ScopedTranslation quantity("Speed", "Drehzahl"), name("Measured speed", "Gemessene Drehzahl");
  EXPECT_EQ(Rows(UnitGetQuantities),
            (std::vector<Row>{Row{1, 0, 0, 0, 0, 0, "Drehzahl", "v"}, Row{2, 0, 0, 0, 0, 0, "Level", "h"}}));
  std::vector<Row> speed = Pick({0, 1, 2});
  std::get<6>(speed[0]) = std::get<6>(speed[1]) = "Gemessene Drehzahl";
  EXPECT_EQ(SubQuantities(1), speed);
  EXPECT_EQ(SubQuantities(2), Pick({3}));
  EXPECT_EQ(SubQuantities(3), std::vector<Row>{Row(3, 1, 0, 0, 0, kFlagData, "Hidden data", "xd")})
      << "a disabled quantity still answers";
  bool result = true;
  EXPECT_TRUE(SubQuantities(99, &result).empty() && !result);
}

// Clearing a numbered list clears them all; that only list 0 restricts is checked where the lists are kept.
TEST_F(EnumerationTest, SelectListRestrictsAllButTheUnrestrictedForms) {
  Install(Records(), {MakeGroup("speed", {t_FilterCondition{1, -1, 0, 0, 0, kTestQuantity, 0}})}, 1);
  ScopedTranslation dev1("Dev1", "A");
  ASSERT_TRUE(UnitAddSelectList(1, 5, kFlagSet, 0, 0, 0) && UnitAddSelectList(2, 0, kFlagData, 0, 0, 0));
  EXPECT_EQ(Filtered(), Pick({2})) << "select list and group must both agree";
  EXPECT_EQ(Rows(UnitGetAllQuantities), Pick({2, 3}));
  EXPECT_EQ(Rows(UnitGetAllUnfilteredQuantities), kAll);
  NumberArrays arrays;
  ASSERT_TRUE(arrays.result && arrays.count == 4);
  for (int i = 0; i < arrays.count; ++i) {
    const auto& [quantity, subquantity, kind, device, index, flags, name, symbol] = kAll[i];
    EXPECT_TRUE(arrays.quantities[i] == quantity && arrays.subquantities[i] == subquantity &&
                arrays.devices[i] == device && arrays.indexes[i] == index && arrays.flags[i] == flags) << i;
  }
  EXPECT_TRUE(UnitClearSelectList());
  EXPECT_EQ(Filtered(), Pick({0, 1, 2}));
  ASSERT_TRUE(UnitAddSelectList(1, 5, kFlagSet, 0, 0, 3));
  EXPECT_FALSE(UnitAddSelectList(1, 5, kFlagSet, 0, 0, 5)) << "lists 0..4 only";
  EXPECT_FALSE(UnitClearSelectList(3)) << "clears, yet reports false";
  EXPECT_EQ(Filtered(), Pick({0, 1, 2}));
}

TEST_F(EnumerationTest, EmptyResultsLeaveNullAndZero) {
  Install(Table(MakeQuantity(3, "Hidden", "x")));
  bool result = true;
  EXPECT_TRUE(Rows(UnitGetQuantities, &result).empty() && !result);
  EXPECT_TRUE(Rows(UnitGetAllQuantities, &result).empty() && result) << "this form reports true even when empty";
  EXPECT_TRUE(NumberArrays().Failed());
  EXPECT_TRUE(UnitDeletePtr(nullptr) && UnitDeleteArray(nullptr));
}

// Force: slot 0 is subquantity 2 (Data) without registrations. Torque: no defined slot.
QuantityTable ForceAndTorque(int force_pairs = 0, bool twin = false) {
  auto force = EnabledQuantity(4, "Force", "F");
  t_subquantity& slot = DefineSlot(force.get(), 0, 2, kFlagData, "Force", "F");
  for (int k = 0; k < force_pairs; ++k) AddPairs(slot, {{1, static_cast<uint16_t>(k)}});
  if (twin) DefineSlot(force.get(), 5, 2, kFlagData, "Force twin", "Ft");
  auto torque = MakeQuantity(6, "Torque", "M");
  CopyText(torque->szText, sizeof(torque->szText), "torque");
  return Table(std::move(force), std::move(torque));
}

using RegistrationTest = ServiceTest;

TEST_F(RegistrationTest, FirstRegistrationKeepsTheBarePairAndDuplicatesAreRefused) {
  Install(ForceAndTorque());
  EXPECT_TRUE(UnitExistQuantity(4, 2, kFlagData, 0, 0)) << "a slot without pairs stands for (0, 0)";
  EXPECT_FALSE(UnitExistQuantity(4, 2, kFlagData, 3, 1) || UnitExistQuantity(4, 2, kFlagSet, 0, 0));
  EXPECT_TRUE(UnitAddDeviceIndex(4, 2, kFlagData, 3, 1));
  const std::vector<Row> variants = SubQuantities(4);
  EXPECT_EQ(variants, (std::vector<Row>{Row{4, 2, 0, 0, 0, kFlagData, "Force", "F"},
                                        Row{4, 2, 0, 3, 1, kFlagData, "Force", "F1"}}));
  EXPECT_TRUE(UnitExistQuantity(4, 2, kFlagData, 0, 0) && UnitExistQuantity(4, 2, kFlagData, 3, 1));
  EXPECT_FALSE(UnitAddDeviceIndex(4, 2, kFlagData, 3, 1) || UnitAddDeviceIndex(4, 2, kFlagData, 0, 0) ||
               UnitAddDeviceIndex(4, 99, kFlagData, 3, 1)) << "duplicates, or no such subquantity";
  EXPECT_EQ(SubQuantities(4), variants);
  EXPECT_TRUE(UnitAddDeviceIndex(4, 2, kFlagData, 3, 2) && UnitExistQuantity(4, 2, kFlagData, 3, 2));
  // A quantity without defined slots gets slot 0 named like itself.
  EXPECT_TRUE(UnitAddDeviceIndex(6, 0, 0, 2, 0));
  EXPECT_EQ(SubQuantities(6),
            (std::vector<Row>{Row{6, 0, 0, 0, 0, 0, "Torque", "M"}, Row{6, 0, 0, 2, 0, 0, "Torque", "M"}}));
  UnitSetTextMode(1);
  EXPECT_STREQ(UnitGetSymbol(6, 0, 0, 2, 0, true), "torque") << "the slot has the quantity's plain form";
}

TEST_F(RegistrationTest, FullSlotTakesNoMoreButATwinSlotWithRoomDoes) {
  Install(ForceAndTorque(kMaxPairs));
  EXPECT_FALSE(UnitAddDeviceIndex(4, 2, kFlagData, 2, 0));
  Install(ForceAndTorque(kMaxPairs, true));
  EXPECT_TRUE(UnitAddDeviceIndex(4, 2, kFlagData, 2, 0));
  const std::vector<Row> variants = SubQuantities(4);
  ASSERT_EQ(variants.size(), kMaxPairs + 2u);
  EXPECT_EQ(variants.back(), Row(4, 2, 0, 2, 0, kFlagData, "Force twin", "Ft"));
}

TEST_F(RegistrationTest, RegistrationIsSavedOnceAKeyIsChosen) {
  WriteUdf(data_ + "DEFAULT.UDF", ForceAndTorque());
  Attach();
  const std::string file = ReadWholeFile(data_ + "DEFAULT.UDF");
  ASSERT_TRUE(UnitAddDeviceIndex(4, 2, kFlagData, 3, 1));
  EXPECT_TRUE(UnitExistQuantity(4, 2, kFlagData, 3, 1)) << "visible at once";
  EXPECT_FALSE(std::filesystem::exists(platform::RegistryDatabasePath(data_)));
  EXPECT_EQ(ReadWholeFile(data_ + "DEFAULT.UDF"), file);
  Attach();
  EXPECT_FALSE(UnitExistQuantity(4, 2, kFlagData, 3, 1)) << "no key was chosen: not kept";
  UnitChangeUserInfo(Text("Software\\Plant\\"), Text("u"), 1);
  ASSERT_TRUE(UnitAddDeviceIndex(4, 2, kFlagData, 3, 1));
  Attach();
  UnitChangeUserInfo(Text("Software\\Plant\\"), Text("u"), 1);
  EXPECT_TRUE(UnitExistQuantity(4, 2, kFlagData, 3, 1));
}

}  // namespace
}  // namespace units
