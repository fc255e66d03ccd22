// Exact rational arithmetic for checking stored doubles against the
// definitions they come from, independently of the tool's own rounding.
#ifndef UNITS_TESTS_DATA_EXACT_RATIONAL_H_
#define UNITS_TESTS_DATA_EXACT_RATIONAL_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace units {
namespace testing {

// A non-negative fraction in lowest terms. Every operation throws
// std::overflow_error rather than lose a bit.
class Rational {
 public:
  using Wide = unsigned __int128;

  Rational(uint64_t numerator = 0, uint64_t denominator = 1);  // NOLINT: integers read as rationals

  Wide numerator() const { return numerator_; }
  Wide denominator() const { return denominator_; }

  Rational operator*(const Rational& other) const;
  Rational operator/(const Rational& other) const;
  Rational Reciprocal() const { return Rational(1) / *this; }
  std::string ToString() const;

  // From a decimal text such as "0.45359237", exactly.
  static Rational FromDecimal(const std::string& text);

 private:
  Rational(Wide numerator, Wide denominator, bool /*reduced*/) : numerator_(numerator), denominator_(denominator) {}
  static Rational Make(Wide numerator, Wide denominator);

  Wide numerator_;
  Wide denominator_;
};

// Success when `value` is the double nearest to `exact` (ties to even).
::testing::AssertionResult IsCorrectlyRounded(double value, const Rational& exact);

// For values known only approximately, such as 180/pi computed in long
// double: success when the double nearest to `approximation` is `value` and
// the approximation lies farther than `relative_error` from every rounding
// boundary, so that the exact value rounds to the same double.
::testing::AssertionResult IsCorrectlyRoundedApproximation(double value, long double approximation,
                                                           long double relative_error);

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_DATA_EXACT_RATIONAL_H_
