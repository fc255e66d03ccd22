#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "model/group_model.h"
#include "model/quantity.h"
#include "model/select_list.h"
#include "test_support.h"

namespace units {
namespace {

t_FilterCondition FullCondition(uint16_t tests) {
  return {0x1234, 0x10005, kFlagData, 2, 1, tests, kFlagSet | kFlagData};
}

// Each test bit compares its own field, whole, and nothing else. In a group
// any condition in use matches, and damaged counts stay inside the table.
TEST(ConditionTest, EachTestBitComparesOnlyItsFieldAndAnyConditionInUseMatches) {
  constexpr uint16_t kAll = kTestQuantity | kTestSubQuantity | kTestFlags | kTestDevice | kTestIndex;
  const Combination matching{0x1234, 0x10005, kFlagData | kFlagMean, 2, 1};
  const struct { uint16_t test; Combination differing; } cases[] = {
      {kTestQuantity, {0x1235, 0x10005, kFlagData, 2, 1}}, {kTestSubQuantity, {0x1234, 5, kFlagData, 2, 1}},
      {kTestFlags, {0x1234, 0x10005, kFlagData | kFlagSet, 2, 1}}, {kTestFlags, {0x1234, 0x10005, kFlagError, 2, 1}},
      {kTestDevice, {0x1234, 0x10005, kFlagData, 3, 1}}, {kTestIndex, {0x1234, 0x10005, kFlagData, 2, 0x101}}};
  EXPECT_TRUE(ConditionMatches(FullCondition(kAll), matching));
  EXPECT_TRUE(ConditionMatches(testing::MakeCondition(0), {7, -7, 0xFFFFFFFF, 9, 9}));
  for (const auto& c : cases) {
    EXPECT_TRUE(ConditionMatches(FullCondition(c.test), matching)) << c.test;
    EXPECT_FALSE(ConditionMatches(FullCondition(c.test), c.differing)) << c.test;
    EXPECT_TRUE(ConditionMatches(FullCondition(kAll & ~c.test), c.differing)) << c.test;
  }
  t_FilterEntry group = testing::MakeGroup("g");  // only the last condition matches
  for (t_FilterCondition& condition : group.aCondition) condition = FullCondition(kTestQuantity);
  group.aCondition[99] = testing::MakeCondition(0);
  const std::pair<int32_t, int32_t> counts[] = {{INT_MIN, 0}, {-3, 0},   {99, 99},
                                                {100, 100},  {101, 100}, {INT_MAX, 100}};
  for (const auto& [count, in_use] : counts) {
    group.lCount = count;
    EXPECT_EQ(ConditionsInUse(group), in_use) << count;
    EXPECT_EQ(GroupMatches(group, {1, 0, 0, 0, 0}), in_use == 100) << count;
  }
}

// A name goes in with its NUL, the closing NUL and one byte more; the list
// stops at the first name that does not fit; nothing is written from `size` on.
TEST(GroupNamesTest, WritesTheNamesThatFitAndNothingPastTheSize) {
  t_FilterEntry unterminated = testing::MakeGroup("");
  std::memset(unterminated.szName, 'n', sizeof(unterminated.szName));
  GroupTable groups;
  groups.Replace({testing::MakeGroup("A"), testing::MakeGroup("BB"), testing::MakeGroup("C"), unterminated});
  const std::string all("All quantities\0", 15), names = all + std::string("A\0BB\0C\0", 7);
  const struct { unsigned long size; int count; std::string written; } cases[] = {
      {0, 0, ""}, {15, 0, ""}, {16, 1, all + '\0'}, {18, 1, all + '\0'}, {20, 2, all + std::string("A\0\0", 3)},
      {21, 2, all + std::string("A\0\0", 3)},  // C would fit, but BB ended the list
      {22, 3, all + std::string("A\0BB\0\0", 6)}, {24, 4, names + '\0'},
      {400, 5, names + std::string(299, 'n') + std::string(2, '\0')}};
  for (const auto& c : cases) {
    char buffer[400];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(WriteGroupNames(groups, buffer, c.size), c.count) << c.size;
    EXPECT_EQ(std::string(buffer, c.written.size()), c.written) << c.size;
    EXPECT_EQ(std::string(buffer + c.size, sizeof(buffer) - c.size), std::string(sizeof(buffer) - c.size, 'x'));
  }
  EXPECT_EQ(WriteGroupNames(groups, nullptr, 100), 0);
}

// Hosts rely on the five list numbers sharing one array of 500 positions, with only list 0 read by the
// restriction while it is on; clearing switches it off and resets the positions only when asked. A full list
// refuses even an entry it holds; numbers outside 0..4 are refused.
TEST(SelectListTest, ListNumbersShareThePositionsAndOnlyListZeroAdmits) {
  auto lists = std::make_unique<t_unitselectlist>();
  EXPECT_TRUE(lists->Admits(4, 2, kFlagData, 1, 1)) << "nothing added: no restriction";
  ASSERT_TRUE(lists->Add(1, 4, 2, kFlagData, 1, 1));
  EXPECT_FALSE(lists->Admits(4, 2, kFlagData, 1, 1)) << "list 0 is empty";
  ASSERT_TRUE(lists->Add(0, 4, 2, kFlagData, 7, 7) && lists->Add(0, 4, 2, kFlagData, 7, 7));
  EXPECT_TRUE(lists->alCount[0] == 1 && lists->aEntry[0].wDevice == 7) << "no duplicate, at list 1's position";
  EXPECT_TRUE(lists->Admits(4, 2, kFlagData, 7, 7));
  for (const Combination& other : {Combination{5, 2, kFlagData, 7, 7}, Combination{4, 3, kFlagData, 7, 7},
                                   Combination{4, 2, kFlagSet, 7, 7}, Combination{4, 2, kFlagData, 8, 7},
                                   Combination{4, 2, kFlagData, 7, 8}}) {
    EXPECT_FALSE(lists->Admits(other.quantity, other.subquantity, other.flags, other.device, other.index));
  }
  lists->Clear(false);
  EXPECT_TRUE(lists->wActive + lists->alCount[0] + lists->alCount[1] == 0 && lists->aEntry[0].wDevice == 7)
      << "positions stay";
  lists->Clear(true);
  EXPECT_EQ(lists->aEntry[0].lSubQuantity, -1);
  for (int32_t k = 0; k < kSelectListEntries; ++k) ASSERT_TRUE(lists->Add(2, 4, k, 0, 0, 0)) << k;
  EXPECT_FALSE(lists->Add(2, 4, kSelectListEntries, 0, 0, 0) || lists->Add(2, 4, 0, 0, 0, 0));
  for (int list : {-1, 5, 1 << 30, INT_MIN}) EXPECT_FALSE(lists->Add(list, 4, 1, 0, 0, 0)) << list;
  for (int list : {0, 1, 3, 4}) EXPECT_EQ(lists->alCount[list], 0);
}

}  // namespace
}  // namespace units
