// Whether `d` is the double nearest to p/q (ties to even), by exact integer
// comparison with both neighbours: a reference owing nothing to the tool.
#ifndef UNITS_TESTS_DATA_NEAREST_DOUBLE_H_
#define UNITS_TESTS_DATA_NEAREST_DOUBLE_H_

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace units {
namespace testing {

inline bool IsNearest(double d, uint64_t p, uint64_t q) {
  // The coarse check keeps the products below within 128 bits.
  if (!(d > 0) || std::fabs(d * static_cast<double>(q) / static_cast<double>(p) - 1) > 1e-9) return false;
  const int e = std::ilogb(d) + 1;  // d = m 2^e with m in [1/2, 1)
  const int s = std::max(54 - e, 0);  // scaled by 2^s, d and its neighbours are integers
  const auto distance = [&](double x) {
    const __int128 difference = static_cast<__int128>(std::ldexp(x, s)) * q - (static_cast<__int128>(p) << s);
    return difference < 0 ? -difference : difference;
  };
  const bool even = static_cast<uint64_t>(std::ldexp(d, 53 - e)) % 2 == 0;
  for (const double neighbour : {std::nextafter(d, 0.0), std::nextafter(d, INFINITY)}) {
    if (distance(neighbour) < distance(d) || (distance(neighbour) == distance(d) && !even)) return false;
  }
  return true;
}

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_DATA_NEAREST_DOUBLE_H_
