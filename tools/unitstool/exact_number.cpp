#include "exact_number.h"

#include <cmath>
#include <limits>

namespace units {
namespace tool {

namespace {

using Wide = unsigned __int128;

int BitLength(uint64_t value) { return value == 0 ? 0 : 64 - __builtin_clzll(value); }

bool ParseDigits(const std::string& text, uint64_t* value) {
  if (text.empty()) return false;
  uint64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (result > (std::numeric_limits<uint64_t>::max() - digit) / 10) return false;
    result = result * 10 + digit;
  }
  *value = result;
  return true;
}

}  // namespace

double DivideRounded(uint64_t p, uint64_t q) {
  if (p == 0) return 0.0;
  // Scale so that the integer quotient has exactly 54 bits: 53 for the
  // significand and one rounding bit; the remainder is the sticky part.
  // p * 2^shift stays below 2^118 and q * 2^-shift below 2^11.
  int shift = 53 + BitLength(q) - BitLength(p);
  Wide quotient, remainder;
  for (;;) {
    const Wide numerator = shift >= 0 ? Wide{p} << shift : Wide{p};
    const Wide denominator = shift >= 0 ? Wide{q} : Wide{q} << -shift;
    quotient = numerator / denominator;
    remainder = numerator % denominator;
    if (quotient >= (Wide{1} << 53)) break;
    ++shift;
  }
  uint64_t significand = static_cast<uint64_t>(quotient >> 1);
  const bool round_bit = (quotient & 1) != 0;
  const bool sticky = remainder != 0;
  if (round_bit && (sticky || (significand & 1) != 0)) ++significand;
  // 2^53 after rounding up is still exact as a double.
  return std::ldexp(static_cast<double>(significand), 1 - shift);
}

double RationalToDouble(bool negative, uint64_t p, uint64_t q) {
  const double magnitude = (p <= kExactDoubleLimit && q <= kExactDoubleLimit)
                               ? static_cast<double>(p) / static_cast<double>(q)
                               : DivideRounded(p, q);
  return negative ? -magnitude : magnitude;
}

std::optional<double> ParseExactNumber(const std::string& text, std::string* error) {
  if (text == "inf") return std::numeric_limits<double>::infinity();
  if (text == "-inf") return -std::numeric_limits<double>::infinity();
  if (text == "nan") return std::numeric_limits<double>::quiet_NaN();
  const bool negative = !text.empty() && text[0] == '-';
  const std::string body = negative ? text.substr(1) : text;
  const size_t slash = body.find('/');
  uint64_t p = 0, q = 1;
  const bool parsed = slash == std::string::npos
                          ? ParseDigits(body, &p)
                          : ParseDigits(body.substr(0, slash), &p) && ParseDigits(body.substr(slash + 1), &q);
  if (!parsed) {
    *error = "\"" + text + "\" is neither a number nor a rational \"p/q\" of integers below 2^64";
    return std::nullopt;
  }
  if (q == 0) {
    *error = "\"" + text + "\" divides by zero";
    return std::nullopt;
  }
  return RationalToDouble(negative, p, q);
}

}  // namespace tool
}  // namespace units
