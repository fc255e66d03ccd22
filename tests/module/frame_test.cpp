#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "module/module_state.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace {

using testing::Val;

class FrameTest : public testing::ModuleTest {};

TEST_F(FrameTest, PrivilegeNeedsACommonBit) {
  EXPECT_FALSE(UnitHasPrivilege(0));
  EXPECT_TRUE(UnitHasPrivilege(0x80000000ul));
  uint32_t mask = 0x6;
  EXPECT_TRUE(UnitSetValue(100, &mask, 4));
  EXPECT_FALSE(UnitHasPrivilege(0x1));
  EXPECT_TRUE(UnitHasPrivilege(0x3));
  mask = 0;
  EXPECT_TRUE(UnitSetValue(100, &mask, 4));
  EXPECT_FALSE(UnitHasPrivilege(0xFFFFFFFFul));
}

TEST_F(FrameTest, PrivilegeKeyNeedsExactlyFourBytes) {
  uint32_t mask = 0;
  EXPECT_FALSE(UnitSetValue(100, &mask, 2));
  EXPECT_FALSE(UnitSetValue(100, &mask, 8));
  EXPECT_FALSE(UnitSetValue(100, nullptr, 4));
  EXPECT_EQ(Module().privilege_mask, 0xFFFFFFFFu);
}

TEST_F(FrameTest, FileOnlyKeySwitchesTheWorkingNames) {
  uint16_t on = 1;
  EXPECT_FALSE(UnitSetValue(101, &on, 4));
  EXPECT_EQ(Module().from_file_only, 0);
  EXPECT_TRUE(UnitSetValue(101, &on, 2));
  EXPECT_EQ(Module().from_file_only, 1);
  EXPECT_EQ(Module().working_udf, "AppUnits.UDF");
  EXPECT_EQ(Module().working_fdf, "AppFilter.FDF");
  uint16_t off = 0;
  EXPECT_TRUE(UnitSetValue(101, &off, 2));
  EXPECT_EQ(Module().working_udf, "DEFAULT.UDF");
  EXPECT_EQ(Module().working_fdf, "DEFAULT.FDF");
}

TEST_F(FrameTest, FileNameKeysStoreButReportFalse) {
  char name[300];
  std::memset(name, 'a', sizeof(name));
  std::strcpy(name, "Plant.udf");
  EXPECT_FALSE(UnitSetValue(102, name, 260));
  EXPECT_EQ(Module().working_udf, "Plant.udf");
  EXPECT_FALSE(UnitSetValue(103, name, 10));
  EXPECT_EQ(Module().working_fdf, "Plant.udf");
  EXPECT_FALSE(UnitSetValue(102, const_cast<char*>("Other.udf"), 261));
  EXPECT_EQ(Module().working_udf, "Plant.udf");
  EXPECT_FALSE(UnitSetValue(102, nullptr, 10));
  EXPECT_EQ(Module().working_udf, "Plant.udf");
}

TEST_F(FrameTest, FileNameKeysNeverReadPastSizeAndAlwaysTerminate) {
  char unterminated[260];
  std::memset(unterminated, 'b', sizeof(unterminated));
  EXPECT_FALSE(UnitSetValue(102, unterminated, 5));
  EXPECT_EQ(Module().working_udf, "bbbbb");
  EXPECT_FALSE(UnitSetValue(103, unterminated, 260));
  EXPECT_EQ(Module().working_fdf, std::string(259, 'b'));
}

TEST_F(FrameTest, UnknownKeysChangeNothing) {
  uint32_t value = 0;
  EXPECT_FALSE(UnitSetValue(99, &value, 4));
  EXPECT_FALSE(UnitSetValue(104, &value, 4));
  EXPECT_EQ(Module().privilege_mask, 0xFFFFFFFFu);
}

TEST_F(FrameTest, TextModeSwitchAndSelectors) {
  EXPECT_FALSE(UnitGetTextMode());
  EXPECT_EQ(UnitGetMode(1), 0);
  EXPECT_EQ(UnitSetTextMode(7), 1);
  EXPECT_TRUE(UnitGetTextMode());
  EXPECT_EQ(UnitGetMode(1), 1);
  EXPECT_EQ(UnitGetMode(2), 0xFFFF);
  EXPECT_EQ(UnitGetMode(0), 0xFFFF);
  EXPECT_EQ(UnitSetTextMode(0), 0);
  EXPECT_FALSE(UnitGetTextMode());
}

TEST_F(FrameTest, RefusedModuleAnswersWithFailureResults) {
  Module().refused = true;
  EXPECT_FALSE(UnitHasPrivilege(1));
  EXPECT_EQ(UnitGetMode(1), 0xFFFF);
  double d = 3.0;
  EXPECT_FALSE(UnitGetCurrent(1, 1.0, d));
  EXPECT_EQ(d, 3.0);
  Module().refused = false;
}

// Byte offset of a member within a record (offsetof is not defined for a
// class with a virtual destructor).
#define FIELD_OFFSET(record, field) \
  static_cast<size_t>(reinterpret_cast<const char*>(&(record).field) - reinterpret_cast<const char*>(&(record)))

TEST(EnumerationRecordTest, LayoutIsPackedAfterTheTablePointer) {
  constexpr size_t kTable = sizeof(void*);
  const t_unitquantity record;
  EXPECT_EQ(FIELD_OFFSET(record, wQuantity), kTable + 0);
  EXPECT_EQ(FIELD_OFFSET(record, lSubQuantity), kTable + 2);
  EXPECT_EQ(FIELD_OFFSET(record, wKind), kTable + 6);
  EXPECT_EQ(FIELD_OFFSET(record, wDevice), kTable + 8);
  EXPECT_EQ(FIELD_OFFSET(record, wIndex), kTable + 10);
  EXPECT_EQ(FIELD_OFFSET(record, dwFlags), kTable + 12);
  EXPECT_EQ(FIELD_OFFSET(record, szName), kTable + 16);
  EXPECT_EQ(FIELD_OFFSET(record, szSymbol), kTable + 57);
  EXPECT_EQ(sizeof(t_unitquantity), kTable + 78);
  EXPECT_EQ(sizeof(unsigned int), 4u);
}

TEST(EnumerationRecordTest, NewArrayHoldsInitialRecordsAndReleasesWhole) {
  auto* records = new t_unitquantity[3];
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Val(records[i].wQuantity), 0);
    EXPECT_EQ(Val(records[i].lSubQuantity), -1);
    EXPECT_EQ(Val(records[i].wKind), 0);
    EXPECT_EQ(Val(records[i].wDevice), 0);
    EXPECT_EQ(Val(records[i].wIndex), 0);
    EXPECT_EQ(Val(records[i].dwFlags), 0u);
    EXPECT_STREQ(records[i].szName, "");
    EXPECT_STREQ(records[i].szSymbol, "");
  }
  EXPECT_TRUE(UnitDeleteArray(records));  // the sanitizer build checks the release
  EXPECT_TRUE(UnitDeleteArray(nullptr));
  EXPECT_TRUE(UnitDeletePtr(nullptr));
  EXPECT_TRUE(UnitDeletePtr(std::malloc(16)));
}

TEST(DialogPointersTest, StartNull) {
  EXPECT_EQ(_UnitMainDlg, nullptr);
  EXPECT_EQ(_EditQuantityDlg, nullptr);
  EXPECT_EQ(_EditSubQuantityDlg, nullptr);
  EXPECT_EQ(_UnitSelectDlg, nullptr);
  EXPECT_EQ(_EditUnitDlg, nullptr);
}

}  // namespace
}  // namespace units
