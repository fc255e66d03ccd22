#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "catalogue/catalogue.h"
#include "module/module_state.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace {

using testing::DefineUnit;
using testing::MakeQuantity;

constexpr unsigned short kTemperature = 12;
constexpr unsigned short kPlain = 3;
constexpr unsigned short kMissing = 999;

class ConversionTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    QuantityTable table;
    auto temperature = MakeQuantity(kTemperature, "Temperature", "T");
    DefineUnit(temperature.get(), 0, "\xC2\xB0" "C", 1.0, 0.0);
    DefineUnit(temperature.get(), 1, "\xC2\xB0" "F", 1.8, 32.0);
    DefineUnit(temperature.get(), 2, "K", 1.0, 273.15);
    temperature->dwUnit = 1;
    table.push_back(std::move(temperature));
    table.push_back(MakeQuantity(kPlain, "Plain", "p"));
    testing::InstallCatalogue(std::move(table));
  }
};

TEST_F(ConversionTest, FahrenheitExampleInEveryForm) {
  double d = 0;
  EXPECT_TRUE(UnitGetCurrent(kTemperature, 100.0, d));
  EXPECT_EQ(d, 212.0);
  EXPECT_TRUE(UnitGetCurrentRel(kTemperature, 100.0, d));
  EXPECT_EQ(d, 180.0);
  EXPECT_TRUE(UnitGetBase(kTemperature, 212.0, d));
  EXPECT_EQ(d, 100.0);
  EXPECT_TRUE(UnitGetBaseRel(kTemperature, 180.0, d));
  EXPECT_EQ(d, 100.0);

  float f = 0;
  EXPECT_TRUE(UnitGetCurrent(kTemperature, 100.0f, f));
  EXPECT_EQ(f, 212.0f);
  EXPECT_TRUE(UnitGetBaseRel(kTemperature, 180.0f, f));
  EXPECT_EQ(f, 100.0f);

  const double in[3] = {100.0, 0.0, -40.0};
  double out[3] = {};
  EXPECT_TRUE(UnitGetCurrent(kTemperature, in, out, 3));
  EXPECT_EQ(out[0], 212.0);
  EXPECT_EQ(out[1], 32.0);
  EXPECT_EQ(out[2], -40.0);
  EXPECT_TRUE(UnitGetBase(kTemperature, out, out, 3));
  EXPECT_EQ(out[0], 100.0);
  EXPECT_EQ(out[2], -40.0);
}

TEST_F(ConversionTest, BaseUnitLeavesValuesUnchanged) {
  const double value = 123.456;
  double out = 0;
  EXPECT_TRUE(UnitGetCurrent(kPlain, value, out));
  EXPECT_EQ(out, value);
  EXPECT_TRUE(UnitGetCurrentRel(kPlain, value, out));
  EXPECT_EQ(out, value);
  EXPECT_TRUE(UnitGetBase(kPlain, value, out));
  EXPECT_EQ(out, value);
  EXPECT_TRUE(UnitGetBaseRel(kPlain, value, out));
  EXPECT_EQ(out, value);
}

TEST_F(ConversionTest, UnknownQuantityFailsAndWritesNothing) {
  float f = 5.5f;
  EXPECT_FALSE(UnitGetCurrent(kMissing, 1.0f, f));
  EXPECT_EQ(f, 5.5f);
  double d = 7.0;
  EXPECT_FALSE(UnitGetBaseRel(kMissing, 1.0, d));
  EXPECT_EQ(d, 7.0);
  double out[2] = {1.0, 2.0};
  const double in[2] = {5.0, 6.0};
  EXPECT_FALSE(UnitGetCurrent(kMissing, in, out, 2));
  EXPECT_EQ(out[0], 1.0);
  EXPECT_EQ(out[1], 2.0);
}

TEST_F(ConversionTest, EmptyAndNullArrays) {
  double out = 9.0;
  const double in = 1.0;
  EXPECT_TRUE(UnitGetCurrent(kTemperature, &in, &out, 0));
  EXPECT_TRUE(UnitGetBase(kTemperature, &in, &out, -5));
  EXPECT_EQ(out, 9.0);
  EXPECT_FALSE(UnitGetCurrent(kMissing, &in, &out, 0));
  EXPECT_TRUE(UnitGetCurrent(kTemperature, nullptr, nullptr, 0));
  EXPECT_FALSE(UnitGetCurrent(kTemperature, nullptr, &out, 1));
  EXPECT_FALSE(UnitGetCurrent(kTemperature, &in, nullptr, 1));
}

// Every element must equal the two-step result: product (or difference)
// rounded, then the second operation. Sizes cover the vector tails.
TEST_F(ConversionTest, ArraysMatchTheTwoStepFormulaBitForBit) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> values(-1e6, 1e6);
  const double factors[] = {1.8, 0.3048, 1.0 / 3.0, 6894.757293168361, 1e-9};
  const double offsets[] = {32.0, 0.1, -273.15, 1e-3, 0.0};
  t_quantity* quantity = FindQuantity(kTemperature);
  for (size_t size : {1u, 3u, 7u, 8u, 17u, 1001u}) {
    std::vector<double> input(size);
    for (double& v : input) v = values(random);
    for (int k = 0; k < 5; ++k) {
      DefineUnit(quantity, 4, "u", factors[k], offsets[k]);
      quantity->dwUnit = 4;
      std::vector<double> out(size), in_place = input;
      ASSERT_TRUE(UnitGetCurrent(kTemperature, input.data(), out.data(), static_cast<int>(size)));
      ASSERT_TRUE(UnitGetCurrent(kTemperature, in_place.data(), in_place.data(), static_cast<int>(size)));
      for (size_t i = 0; i < size; ++i) {
        volatile double product = input[i] * factors[k];
        const double expected = product + offsets[k];
        ASSERT_EQ(std::memcmp(&out[i], &expected, 8), 0) << "to current, element " << i;
        ASSERT_EQ(std::memcmp(&in_place[i], &expected, 8), 0) << "in place, element " << i;
      }
      ASSERT_TRUE(UnitGetBase(kTemperature, input.data(), out.data(), static_cast<int>(size)));
      for (size_t i = 0; i < size; ++i) {
        volatile double difference = input[i] - offsets[k];
        const double expected = difference / factors[k];
        ASSERT_EQ(std::memcmp(&out[i], &expected, 8), 0) << "to base, element " << i;
      }
      ASSERT_TRUE(UnitGetCurrentRel(kTemperature, input.data(), out.data(), static_cast<int>(size)));
      for (size_t i = 0; i < size; ++i) ASSERT_EQ(out[i], input[i] * factors[k]);
      ASSERT_TRUE(UnitGetBaseRel(kTemperature, input.data(), out.data(), static_cast<int>(size)));
      for (size_t i = 0; i < size; ++i) ASSERT_EQ(out[i], input[i] / factors[k]);
    }
  }
}

TEST_F(ConversionTest, OverlappingArraysConvertInElementOrder) {
  std::vector<double> data = {1, 2, 3, 4, 5, 6};
  // Output starts one element later: each element is read after the previous
  // conversion wrote it, as a copy-then-convert loop would.
  ASSERT_TRUE(UnitGetCurrentRel(kTemperature, data.data(), data.data() + 1, 5));
  EXPECT_EQ(data[1], 1.8);
  EXPECT_EQ(data[2], 1.8 * 1.8);
  EXPECT_EQ(data[5], 1.8 * 1.8 * 1.8 * 1.8 * 1.8);
}

TEST_F(ConversionTest, RelativeFormsKeepTheSignOfZero) {
  double d = 0;
  EXPECT_TRUE(UnitGetCurrentRel(kTemperature, -0.0, d));
  EXPECT_TRUE(std::signbit(d));
  EXPECT_TRUE(UnitGetBaseRel(kTemperature, -0.0, d));
  EXPECT_TRUE(std::signbit(d));
  const double in[3] = {-0.0, -0.0, -0.0};
  double out[3] = {};
  EXPECT_TRUE(UnitGetCurrentRel(kTemperature, in, out, 3));
  for (double v : out) EXPECT_TRUE(std::signbit(v));
  EXPECT_TRUE(UnitGetCurrentRel(kTemperature, in, out, 1));
  EXPECT_TRUE(std::signbit(out[0]));
}

TEST_F(ConversionTest, DamagedUnitIndexConvertsWithTheBaseUnit) {
  FindQuantity(kTemperature)->dwUnit = 10;
  double d = 0;
  float f = 0;
  EXPECT_TRUE(UnitGetCurrent(kTemperature, 100.0, d));
  EXPECT_EQ(d, 100.0);
  EXPECT_TRUE(UnitGetBase(kTemperature, 100.0f, f));
  EXPECT_EQ(f, 100.0f);
  const double in[2] = {1.0, 2.0};
  double out[2] = {};
  EXPECT_TRUE(UnitGetCurrent(kTemperature, in, out, 2));
  EXPECT_EQ(out[1], 2.0);
}

TEST_F(ConversionTest, ZeroFactorDividesUnderFloatingPointRules) {
  DefineUnit(FindQuantity(kTemperature), 5, "zero", 0.0, 0.0);
  FindQuantity(kTemperature)->dwUnit = 5;
  double d = 0;
  EXPECT_TRUE(UnitGetBase(kTemperature, 1.0, d));
  EXPECT_TRUE(std::isinf(d));
}

TEST_F(ConversionTest, FactorsByExactUnitText) {
  float factor = -1, offset = -1;
  EXPECT_TRUE(UnitGetFactors(kTemperature, "\xC2\xB0" "F", factor, offset));
  EXPECT_EQ(factor, 1.8f);
  EXPECT_EQ(offset, 32.0f);
  factor = offset = -1;
  EXPECT_FALSE(UnitGetFactors(kTemperature, "k", factor, offset));
  EXPECT_FALSE(UnitGetFactors(kMissing, "K", factor, offset));
  EXPECT_FALSE(UnitGetFactors(kTemperature, nullptr, factor, offset));
  EXPECT_FALSE(UnitGetFactors(kTemperature, "a text far longer than any unit text", factor, offset));
  FindQuantity(kTemperature)->aUnit[2].wState = 2;  // slot no longer defined
  EXPECT_FALSE(UnitGetFactors(kTemperature, "K", factor, offset));
  EXPECT_EQ(factor, -1.0f);
  EXPECT_EQ(offset, -1.0f);
}

TEST_F(ConversionTest, LogWritesOneLinePerCall) {
  Module().conversion_log = true;
  double d = 0;
  const double in[4] = {};
  double out[4];
  UnitGetCurrent(kTemperature, 1.0, d);
  UnitGetBase(kMissing, 1.0, d);
  UnitGetCurrentRel(kTemperature, in, out, 4);
  EXPECT_EQ(testing::ReadWholeFile(folder_ + "KEY.LOG"),
            "ToCurrent(12) : OK\nToBase(999) : Fail\nToCurrent(12) : OK\n");
  Module().conversion_log = false;
  UnitGetCurrent(kTemperature, 1.0, d);
  EXPECT_EQ(testing::ReadWholeFile(folder_ + "KEY.LOG").size(), 57u);
}

}  // namespace
}  // namespace units
