#include "data/exact_rational.h"

#include <cmath>
#include <stdexcept>

namespace units {
namespace testing {

namespace {

using Wide = Rational::Wide;

Wide Gcd(Wide a, Wide b) {
  while (b != 0) {
    const Wide t = a % b;
    a = b;
    b = t;
  }
  return a;
}

Wide Multiply(Wide a, Wide b) {
  Wide product;
  if (__builtin_mul_overflow(a, b, &product)) throw std::overflow_error("rational overflow");
  return product;
}

int BitLength(Wide value) {
  int bits = 0;
  while (value != 0) {
    value >>= 1;
    ++bits;
  }
  return bits;
}

// value * 2^shift for shift >= 0, refusing to lose bits.
Wide ShiftLeft(Wide value, int shift) {
  if (value != 0 && BitLength(value) + shift > 128) throw std::overflow_error("shift overflow");
  return value << shift;
}

// Sign of (a/b) - (c * 2^exponent), everything exact.
int Compare(const Rational& r, Wide c, int exponent) {
  Wide left = r.numerator();
  Wide right = Multiply(c, r.denominator());
  if (exponent >= 0) {
    right = ShiftLeft(right, exponent);
  } else {
    left = ShiftLeft(left, -exponent);
  }
  return left < right ? -1 : (left > right ? 1 : 0);
}

std::string WideToString(Wide value) {
  if (value == 0) return "0";
  std::string digits;
  while (value != 0) {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  }
  return digits;
}

}  // namespace

Rational::Rational(uint64_t numerator, uint64_t denominator) : Rational(Make(numerator, denominator)) {}

Rational Rational::Make(Wide numerator, Wide denominator) {
  if (denominator == 0) throw std::domain_error("zero denominator");
  const Wide divisor = Gcd(numerator, denominator);  // never 0: the denominator is not
  return Rational(numerator / divisor, denominator / divisor, true);
}

Rational Rational::operator*(const Rational& other) const {
  // Cross-reduce first so that the products stay small.
  const Wide g1 = Gcd(numerator_, other.denominator_);
  const Wide g2 = Gcd(other.numerator_, denominator_);
  // Denominators are never 0, so neither divisor is.
  const Wide a = numerator_ / g1, d = other.denominator_ / g1;
  const Wide c = other.numerator_ / g2, b = denominator_ / g2;
  return Make(Multiply(a, c), Multiply(b, d));
}

Rational Rational::operator/(const Rational& other) const {
  if (other.numerator_ == 0) throw std::domain_error("division by zero");
  return *this * Rational(other.denominator_, other.numerator_, true);
}

std::string Rational::ToString() const { return WideToString(numerator_) + "/" + WideToString(denominator_); }

Rational Rational::FromDecimal(const std::string& text) {
  Wide numerator = 0, denominator = 1;
  bool after_point = false;
  for (char c : text) {
    if (c == '.') {
      after_point = true;
      continue;
    }
    if (c < '0' || c > '9') throw std::invalid_argument("not a decimal: " + text);
    numerator = Multiply(numerator, 10) + static_cast<unsigned>(c - '0');
    if (after_point) denominator = Multiply(denominator, 10);
  }
  return Make(numerator, denominator);
}

::testing::AssertionResult IsCorrectlyRounded(double value, const Rational& exact) {
  if (exact.numerator() == 0) {
    return value == 0 ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << value << " is not 0";
  }
  if (!(value > 0) || !std::isfinite(value)) {
    return ::testing::AssertionFailure() << value << " is not a positive finite double";
  }
  // value = m * 2^e with an integer significand m in [2^52, 2^53).
  int e;
  const double fraction = std::frexp(value, &e);
  const auto m = static_cast<Wide>(std::ldexp(fraction, 53));
  e -= 53;
  // Rounding boundaries in quarters of the last place: half an ulp above,
  // half an ulp below (a quarter at the bottom of a binade, where the ulp
  // below is half as large).
  const Wide upper = 4 * m + 2;
  const Wide lower = m == (Wide{1} << 52) ? 4 * m - 1 : 4 * m - 2;
  try {
    const int above_lower = Compare(exact, lower, e - 2);
    const int below_upper = -Compare(exact, upper, e - 2);
    const bool even = (m & 1) == 0;
    if ((above_lower > 0 || (above_lower == 0 && even)) && (below_upper > 0 || (below_upper == 0 && even))) {
      return ::testing::AssertionSuccess();
    }
  } catch (const std::exception& error) {
    return ::testing::AssertionFailure() << "cannot verify " << value << ": " << error.what();
  }
  return ::testing::AssertionFailure() << value << " is not the double nearest to " << exact.ToString();
}

::testing::AssertionResult IsCorrectlyRoundedApproximation(double value, long double approximation,
                                                           long double relative_error) {
  const double nearest = static_cast<double>(approximation);
  const long double below = (static_cast<long double>(nearest) + std::nextafter(nearest, 0.0)) / 2;
  const long double above = (static_cast<long double>(nearest) + std::nextafter(nearest, HUGE_VAL)) / 2;
  const long double margin = relative_error * std::fabs(approximation);
  if (approximation - below <= margin || above - approximation <= margin) {
    return ::testing::AssertionFailure() << "the approximation " << static_cast<double>(approximation)
                                         << " lies too near a rounding boundary to decide";
  }
  if (value != nearest) {
    return ::testing::AssertionFailure() << value << " is not the double nearest to the exact value, " << nearest;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testing
}  // namespace units
