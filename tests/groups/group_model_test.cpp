#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "groups/group_model.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace {

using testing::Val;

Combination Combo(uint16_t q, int32_t s, uint32_t f, uint16_t d, uint16_t i) { return Combination{q, s, f, d, i}; }

TEST(ConditionTest, InitialConditionTestsNothing) {
  const t_FilterCondition condition = testing::MakeCondition(0);
  EXPECT_EQ(Val(condition.lSubQuan), -1);
  EXPECT_EQ(Val(condition.dwFlagMask), 0u);
  EXPECT_TRUE(ConditionMatches(condition, Combo(1, 2, 3, 4, 5)));
  EXPECT_TRUE(ConditionMatches(condition, Combo(0, -7, 0xFFFFFFFF, 0, 0)));
}

TEST(ConditionTest, DeviceAndIndexTestsMustBothHold) {
  t_FilterCondition condition = testing::MakeCondition(kTestDevice | kTestIndex);
  condition.wDevice = 2;
  condition.wIndex = 1;
  EXPECT_TRUE(ConditionMatches(condition, Combo(9, 9, 9, 2, 1)));
  EXPECT_FALSE(ConditionMatches(condition, Combo(9, 9, 9, 2, 0)));
  EXPECT_FALSE(ConditionMatches(condition, Combo(9, 9, 9, 3, 1)));
}

TEST(ConditionTest, FlagTestComparesOnlyMaskedBits) {
  t_FilterCondition condition = testing::MakeCondition(kTestFlags);
  condition.dwFlagMask = kFlagSet | kFlagData;
  condition.dwFlagValue = kFlagData;
  EXPECT_TRUE(ConditionMatches(condition, Combo(1, 0, kFlagData, 0, 0)));
  EXPECT_TRUE(ConditionMatches(condition, Combo(1, 0, kFlagData | kFlagMean | kFlagError, 0, 0)));
  EXPECT_FALSE(ConditionMatches(condition, Combo(1, 0, kFlagData | kFlagSet, 0, 0)));
  EXPECT_FALSE(ConditionMatches(condition, Combo(1, 0, kFlagError, 0, 0)));
}

TEST(ConditionTest, QuantityAndSubquantityCompareWholeValues) {
  t_FilterCondition condition = testing::MakeCondition(kTestQuantity | kTestSubQuantity);
  condition.wQuantity = 0x1234;
  condition.lSubQuan = 0x10005;
  EXPECT_TRUE(ConditionMatches(condition, Combo(0x1234, 0x10005, 0, 0, 0)));
  EXPECT_FALSE(ConditionMatches(condition, Combo(0x1234, 5, 0, 0, 0)));
  EXPECT_FALSE(ConditionMatches(condition, Combo(0x1235, 0x10005, 0, 0, 0)));
}

TEST(GroupTest, ConditionsAreJoinedByOr) {
  t_FilterCondition first = testing::MakeCondition(kTestQuantity);
  first.wQuantity = 1;
  t_FilterCondition second = testing::MakeCondition(kTestQuantity);
  second.wQuantity = 2;
  const t_FilterEntry group = testing::MakeGroup("g", {first, second});
  EXPECT_TRUE(GroupMatches(group, Combo(1, 0, 0, 0, 0)));
  EXPECT_TRUE(GroupMatches(group, Combo(2, 0, 0, 0, 0)));
  EXPECT_FALSE(GroupMatches(group, Combo(3, 0, 0, 0, 0)));
  EXPECT_FALSE(GroupMatches(testing::MakeGroup("empty"), Combo(1, 0, 0, 0, 0)));
  EXPECT_TRUE(GroupMatches(testing::MakeGroup("all", {testing::MakeCondition(0)}), Combo(77, 3, 0, 1, 1)));
}

TEST(GroupTest, DamagedConditionCountStaysInsideTheTable) {
  t_FilterEntry group = testing::MakeGroup("g");
  group.aCondition[99] = testing::MakeCondition(0);  // would match everything
  group.lCount = 100000;
  EXPECT_EQ(ConditionsInUse(group), 100);
  EXPECT_TRUE(GroupMatches(group, Combo(1, 0, 0, 0, 0)));
  group.lCount = -3;
  EXPECT_EQ(ConditionsInUse(group), 0);
  EXPECT_FALSE(GroupMatches(group, Combo(1, 0, 0, 0, 0)));
}

class GroupTableTest : public testing::ModuleTest {};

TEST_F(GroupTableTest, IndexAcceptsZeroToGroupCount) {
  TheGroups().Replace({testing::MakeGroup("A"), testing::MakeGroup("B"), testing::MakeGroup("C")});
  for (int index : {0, 1, 2, 3}) EXPECT_TRUE(UnitSetFilterIndex(index)) << index;
  EXPECT_EQ(UnitGetFilterIndex(), 3);
  EXPECT_FALSE(UnitSetFilterIndex(-1));
  EXPECT_FALSE(UnitSetFilterIndex(4));
  EXPECT_EQ(UnitGetFilterIndex(), 3);
  ASSERT_NE(TheGroups().CurrentGroup(), nullptr);
  EXPECT_STREQ(TheGroups().CurrentGroup()->szName, "C");
}

TEST_F(GroupTableTest, StaleIndexSelectsNoGroupRecord) {
  TheGroups().Replace({testing::MakeGroup("A")});
  TheGroups().SetCurrentIndexUnchecked(5);
  EXPECT_EQ(TheGroups().CurrentGroup(), nullptr);
  TheGroups().SetCurrentIndexUnchecked(-2);
  EXPECT_EQ(TheGroups().CurrentGroup(), nullptr);
}

TEST_F(GroupTableTest, NamesWithoutGroups) {
  char buffer[64];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(UnitGetFilterEntries(buffer, sizeof(buffer)), 1);
  EXPECT_EQ(std::string(buffer, 16), std::string("All quantities\0\0", 16));
  EXPECT_EQ(buffer[16], 'x');
}

TEST_F(GroupTableTest, NamesStopBeforeTheFirstThatDoesNotFit) {
  TheGroups().Replace({testing::MakeGroup("A"), testing::MakeGroup("BB"), testing::MakeGroup("C")});
  char buffer[32];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(UnitGetFilterEntries(buffer, 20), 2);
  EXPECT_EQ(std::string(buffer, 18), std::string("All quantities\0A\0\0", 18));
  EXPECT_EQ(buffer[18], 'x');  // "C" would fit but is not tried after "BB"
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(UnitGetFilterEntries(buffer, 32), 4);
  EXPECT_EQ(std::string(buffer, 23), std::string("All quantities\0A\0BB\0C\0\0", 23));
}

TEST_F(GroupTableTest, SmallOrNullBufferGetsNothing) {
  char buffer[15];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(UnitGetFilterEntries(buffer, sizeof(buffer)), 0);
  EXPECT_EQ(std::string(buffer, 15), std::string(15, 'x'));
  EXPECT_EQ(UnitGetFilterEntries(nullptr, 100), 0);
  char exact[16];
  EXPECT_EQ(UnitGetFilterEntries(exact, sizeof(exact)), 1);
  EXPECT_EQ(std::string(exact, 16), std::string("All quantities\0\0", 16));
}

TEST_F(GroupTableTest, UnterminatedStoredNameIsCutInsideItsField) {
  t_FilterEntry group = testing::MakeGroup("");
  std::memset(group.szName, 'n', sizeof(group.szName));
  TheGroups().Replace({group});
  std::vector<char> buffer(1000, 'x');
  EXPECT_EQ(UnitGetFilterEntries(buffer.data(), buffer.size()), 2);
  EXPECT_EQ(std::string(buffer.data() + 15), std::string(299, 'n'));
  EXPECT_EQ(buffer[15 + 299 + 1], '\0');
}

}  // namespace
}  // namespace units
