#include "exact_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "data/exact_rational.h"

namespace units {
namespace tool {
namespace {

using units::testing::IsCorrectlyRounded;
using units::testing::Rational;

TEST(ExactNumberTest, IntegerDivisionAgreesWithTheHardwareWhereThatIsExact) {
  // Up to 2^53 both operands are exact, so one IEEE division is the
  // reference for the integer path.
  std::mt19937_64 random(20240601);
  for (int i = 0; i < 200000; ++i) {
    const int p_bits = static_cast<int>(random() % 53) + 1;
    const int q_bits = static_cast<int>(random() % 53) + 1;
    const uint64_t p = (random() >> (64 - p_bits)) | 1;
    const uint64_t q = (random() >> (64 - q_bits)) | 1;
    ASSERT_EQ(DivideRounded(p, q), static_cast<double>(p) / static_cast<double>(q)) << p << "/" << q;
  }
}

TEST(ExactNumberTest, LargeOperandsRoundCorrectly) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t p = random() >> (random() % 40);
    const uint64_t q = (random() >> (random() % 40)) | 1;
    ASSERT_TRUE(IsCorrectlyRounded(DivideRounded(p, q), Rational(p, q))) << p << "/" << q;
  }
}

TEST(ExactNumberTest, TiesGoToEven) {
  const uint64_t two53 = uint64_t{1} << 53;
  EXPECT_EQ(DivideRounded(two53 + 1, 1), 9007199254740992.0);  // between 2^53 and 2^53 + 2
  EXPECT_EQ(DivideRounded(two53 + 3, 1), 9007199254740996.0);  // between 2^53 + 2 and 2^53 + 4
  EXPECT_EQ(DivideRounded(2 * two53 + 2, 2), 9007199254740992.0);
  EXPECT_EQ(DivideRounded(UINT64_MAX, 1), 18446744073709551616.0);
  EXPECT_EQ(DivideRounded(1, UINT64_MAX), std::ldexp(1.0, -64));
  EXPECT_EQ(DivideRounded(0, 5), 0.0);
}

TEST(ExactNumberTest, ParsesRationalsAndRefusesEverythingElse) {
  std::string error;
  EXPECT_EQ(ParseExactNumber("10000/3048", &error), 10000.0 / 3048.0);
  EXPECT_EQ(ParseExactNumber("-9/5", &error), -1.8);
  EXPECT_EQ(ParseExactNumber("42", &error), 42.0);
  EXPECT_TRUE(std::isinf(*ParseExactNumber("-inf", &error)));
  EXPECT_TRUE(std::isnan(*ParseExactNumber("nan", &error)));
  // hp: 5e13 / 37284993579113511, the denominator above 2^53.
  EXPECT_TRUE(IsCorrectlyRounded(*ParseExactNumber("50000000000000/37284993579113511", &error),
                                 Rational(50000000000000, 37284993579113511)));
  for (const char* bad : {"", "-", "1/", "/2", "1.5", "0x10", "1/2/3", " 1", "1e3", "+1", "18446744073709551616"}) {
    error.clear();
    EXPECT_FALSE(ParseExactNumber(bad, &error).has_value()) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  EXPECT_FALSE(ParseExactNumber("1/0", &error).has_value());
  EXPECT_NE(error.find("divides by zero"), std::string::npos);
}

}  // namespace
}  // namespace tool
}  // namespace units
