// The twelve conversion exports and UnitGetFactors on a quantity shown in
// degrees Fahrenheit (factor 1.8, offset 32).
#include "service_helpers.h"

namespace units {
namespace {

using ConversionTest = testing::ServiceTest;

TEST_F(ConversionTest, EveryFormConvertsSingleValuesAndArraysTheSameWay) {
  auto temperature = testing::EnabledQuantity(4, "Temperature", "T");
  testing::DefineUnit(temperature.get(), 1, "\xC2\xB0" "F", 1.8, 32.0);
  temperature->dwUnit = 1;
  Install(testing::Table(std::move(temperature)));
  const struct { bool(UNITS_CALL* one)(unsigned short, double, double&);
                 bool(UNITS_CALL* single)(unsigned short, float, float&);
                 bool(UNITS_CALL* many)(unsigned short, const double*, double*, int); double in, out; } forms[] = {
      {UnitGetCurrent, UnitGetCurrent, UnitGetCurrent, 100.0, 212.0},
      {UnitGetCurrentRel, UnitGetCurrentRel, UnitGetCurrentRel, 100.0, 180.0},
      {UnitGetBase, UnitGetBase, UnitGetBase, 212.0, 100.0},
      {UnitGetBaseRel, UnitGetBaseRel, UnitGetBaseRel, 180.0, 100.0},
  };
  for (const auto& form : forms) {
    double d = 0.0;
    float f = 0.0f;
    EXPECT_TRUE(form.one(4, form.in, d) && form.single(4, static_cast<float>(form.in), f));
    EXPECT_TRUE(d == form.out && f == static_cast<float>(form.out)) << form.in << " gave " << d << ", " << f;
    double values[3] = {form.in, form.in, form.in}, apart[3] = {};
    EXPECT_TRUE(form.many(4, values, apart, 3) && form.many(4, values, values, 3));
    EXPECT_TRUE(values[2] == form.out && apart[0] == form.out);
    EXPECT_TRUE(form.many(4, nullptr, nullptr, 0)) << "nothing to convert";
    EXPECT_FALSE(form.many(4, nullptr, apart, 1) || form.many(4, values, nullptr, 1));
    d = -1.0, f = -1.0f;
    EXPECT_FALSE(form.one(5, 1.0, d) || form.single(5, 1.0f, f) || form.many(5, values, values, 3));
    EXPECT_TRUE(d == -1.0 && f == -1.0f && values[0] == form.out) << "outputs of a failure stay";
  }
  float factor = 0.0f, offset = 0.0f;
  EXPECT_TRUE(UnitGetFactors(4, "\xC2\xB0" "F", factor, offset) && factor == 1.8f && offset == 32.0f);
  EXPECT_FALSE(UnitGetFactors(4, "K", factor, offset) || UnitGetFactors(5, "\xC2\xB0" "F", factor, offset) ||
               UnitGetFactors(4, nullptr, factor, offset));
}

}  // namespace
}  // namespace units
