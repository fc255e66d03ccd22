// The numbers of convert: what the command line accepts, and that printed
// results are the shortest decimals that read back to the same double.
#include "number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "tool_error.h"

namespace units {
namespace tool {
namespace {

// Significant digits of the shortest "%.Ng" text that reads back to `value`:
// the reference the tool's output is measured against.
int ShortestDigits(double value) {
  for (int digits = 1; digits <= 17; ++digits) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) return digits;
  }
  return 17;
}

// From the first to the last non-zero digit of the mantissa: zeros that
// only place the point are no digits of precision.
int SignificantDigits(const std::string& text) {
  const std::string mantissa = text.substr(0, text.find('e'));
  std::string digits;
  for (char c : mantissa) {
    if (c >= '0' && c <= '9') digits += c;
  }
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 1;
  return static_cast<int>(digits.find_last_not_of('0') - first + 1);
}

TEST(UnitsToolNumberTextTest, ShortestTextReadsBackToTheSameDouble) {
  std::mt19937_64 random(20240601);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    if (!std::isfinite(value)) continue;
    const std::string text = FormatShortest(value);
    SCOPED_TRACE(text);
    ASSERT_EQ(std::strtod(text.c_str(), nullptr), value);
    EXPECT_EQ(SignificantDigits(text), ShortestDigits(value));
    EXPECT_EQ(ParseDecimal(text), value);
  }
}

TEST(UnitsToolNumberTextTest, PositionalBetweenTenToTheMinusFourAndTenToTheFifteen) {
  EXPECT_EQ(FormatShortest(212), "212");
  EXPECT_EQ(FormatShortest(0.1), "0.1");  // not 0.10000000000000001
  EXPECT_EQ(FormatShortest(100000), "100000");
  EXPECT_EQ(FormatShortest(-40), "-40");
  EXPECT_EQ(FormatShortest(0.0001), "0.0001");
  EXPECT_EQ(FormatShortest(1e15), "1000000000000000");
  EXPECT_EQ(FormatShortest(1.0 / 3.0), "0.3333333333333333");
  EXPECT_EQ(FormatShortest(0.0), "0");
  EXPECT_EQ(FormatShortest(-0.0), "-0");
  EXPECT_EQ(FormatShortest(1e16), "1e+16");
  EXPECT_EQ(FormatShortest(0.00001), "1e-05");
  EXPECT_EQ(FormatShortest(DBL_MAX), "1.7976931348623157e+308");
  EXPECT_EQ(FormatShortest(std::numeric_limits<double>::denorm_min()), "5e-324");
  EXPECT_EQ(FormatShortest(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(FormatShortest(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(FormatShortest(std::nan("")), "nan");
}

TEST(UnitsToolNumberTextTest, AcceptsDecimalsAsPeopleWriteThem) {
  EXPECT_EQ(ParseDecimal("100"), 100.0);
  EXPECT_EQ(ParseDecimal("-40"), -40.0);
  EXPECT_EQ(ParseDecimal("+5"), 5.0);
  EXPECT_EQ(ParseDecimal("1.5e3"), 1500.0);
  EXPECT_EQ(ParseDecimal("2E-3"), 0.002);
  EXPECT_EQ(ParseDecimal(".5"), 0.5);
  EXPECT_EQ(ParseDecimal("5."), 5.0);
  EXPECT_EQ(ParseDecimal("0.1"), 0.1);  // correctly rounded, as the compiler reads it
  EXPECT_EQ(ParseDecimal("4.9e-324"), std::numeric_limits<double>::denorm_min());
}

TEST(UnitsToolNumberTextTest, RefusesEverythingElse) {
  for (const char* text : {"", " 1", "1 ", "1x", "x1", "1,5", "0x10", "0x1p3", "+-1", "--1", "++1", "+", "-", ".",
                           "e5", "1e", "nan", "NaN", "inf", "-inf", "infinity", "1e400", "-1e400"}) {
    EXPECT_THROW(ParseDecimal(text), ToolError) << "\"" << text << "\"";
  }
}

}  // namespace
}  // namespace tool
}  // namespace units
