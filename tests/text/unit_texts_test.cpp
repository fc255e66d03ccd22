#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalogue/catalogue.h"
#include "test_support.h"
#include "text/unit_format.h"
#include "units.h"

namespace units {
namespace {

using testing::DefineUnit;
using testing::MakeQuantity;

class UnitTextsTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    auto time = MakeQuantity(1, "Time", "t");
    DefineUnit(time.get(), 0, "s", 1.0, 0.0);
    DefineUnit(time.get(), 2, "min", 1.0 / 60.0, 0.0);
    auto bare = MakeQuantity(2, "Ratio", "r");  // base unit without text
    QuantityTable table;
    table.push_back(std::move(time));
    table.push_back(std::move(bare));
    testing::InstallCatalogue(std::move(table));
  }
};

TEST_F(UnitTextsTest, FourFormatsWithPrefixAndSuffix) {
  const char* expected[4][3] = {{"in s", "in ", ""}, {"/ s", "/ ", ""}, {"/ (s)", "/ (", ")"}, {"[s]", "[", "]"}};
  for (int format = 0; format < 4; ++format) {
    SetUnitFormat(format);
    EXPECT_STREQ(UnitGetUnitTextEx(1), expected[format][0]);
    EXPECT_STREQ(UnitGetUnitTextFormat(0), expected[format][1]);
    EXPECT_STREQ(UnitGetUnitTextFormat(5), expected[format][2]);
    // Prefix + unit + suffix is the formatted unit part.
    EXPECT_EQ(std::string(UnitGetUnitTextFormat(0)) + UnitGetUnitText(1) + UnitGetUnitTextFormat(1),
              UnitGetUnitTextEx(1));
  }
}

TEST_F(UnitTextsTest, TranslatedWordInFormatZero) {
  testing::ScopedTranslation word("in", "en");
  SetUnitFormat(0);
  EXPECT_STREQ(UnitGetUnitTextEx(1), "en s");
  EXPECT_STREQ(UnitGetUnitTextFormat(0), "en ");
}

TEST_F(UnitTextsTest, EmptyUnitTextAndUnknownFormat) {
  for (int format = 0; format < 4; ++format) {
    SetUnitFormat(format);
    EXPECT_STREQ(UnitGetUnitTextEx(2), "");
  }
  SetUnitFormat(2);
  UnitGetUnitTextFormat(0);
  SetUnitFormat(7);
  EXPECT_STREQ(UnitGetUnitTextEx(1), "");
  EXPECT_STREQ(UnitGetUnitTextFormat(0), "/ (");
  EXPECT_STREQ(UnitGetUnitTextFormat(1), ")");
}

TEST_F(UnitTextsTest, CurrentAndBaseTexts) {
  EXPECT_STREQ(UnitGetUnitText(1), "s");
  FindQuantity(1)->dwUnit = 2;
  EXPECT_STREQ(UnitGetUnitText(1), "min");
  EXPECT_STREQ(UnitGetUnitBaseText(1), "s");
  FindQuantity(1)->dwUnit = 40;  // damaged: the base unit
  EXPECT_STREQ(UnitGetUnitText(1), "s");
  EXPECT_STREQ(UnitGetUnitText(9), "(?)");
  EXPECT_STREQ(UnitGetUnitBaseText(9), "(?)");
  EXPECT_STREQ(UnitGetUnitTextEx(9), "(?)");
}

TEST_F(UnitTextsTest, AllTextsNeedOneByteMoreThanTheList) {
  char buffer[16];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_TRUE(UnitGetUnitTextAll(1, buffer, 8));
  EXPECT_EQ(std::string(buffer, 8), std::string("s\0min\0\0x", 8));
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_FALSE(UnitGetUnitTextAll(1, buffer, 7));
  EXPECT_EQ(std::string(buffer, 4), std::string("s\0\0x", 4));
  std::memset(buffer, 'x', sizeof(buffer));
  for (unsigned long size : {0ul, 1ul, 2ul}) EXPECT_FALSE(UnitGetUnitTextAll(1, buffer, size));
  EXPECT_EQ(std::string(buffer, 3), "xxx");
  EXPECT_FALSE(UnitGetUnitTextAll(9, buffer, sizeof(buffer)));
  EXPECT_FALSE(UnitGetUnitTextAll(1, nullptr, 100));
}

}  // namespace
}  // namespace units
