// Exact factors and offsets. A rational "p/q" of integers is turned into the
// double nearest to its exact value (ties to even), so that a catalogue built
// from definitions such as 1 ft = 0.3048 m holds the correctly rounded factor.
#ifndef UNITS_TOOLS_UNITSTOOL_EXACT_NUMBER_H_
#define UNITS_TOOLS_UNITSTOOL_EXACT_NUMBER_H_

#include <cstdint>
#include <optional>
#include <string>

namespace units {
namespace tool {

// Both operands up to 2^53 are exact doubles, so one IEEE division rounds
// correctly.
constexpr uint64_t kExactDoubleLimit = uint64_t{1} << 53;

// The double nearest to p / q, by integer arithmetic, for any 64-bit p and q.
// REQUIRES: q > 0.
double DivideRounded(uint64_t p, uint64_t q);

// The double nearest to p / q: one division when both fit kExactDoubleLimit,
// else DivideRounded.  REQUIRES: q > 0.
double RationalToDouble(bool negative, uint64_t p, uint64_t q);

// Parses "p", "p/q", "-p/q" (decimal digits, each operand below 2^64) and the
// words "inf", "-inf", "nan". Returns nothing, with `error` set, for any
// other text or for q = 0.
std::optional<double> ParseExactNumber(const std::string& text, std::string* error);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_EXACT_NUMBER_H_
