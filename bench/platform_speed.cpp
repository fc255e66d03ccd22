// Conversion speed through the built library as a host links it, with the
// default catalogue: the same source for libunits.so and for units.dll (run
// under Wine), so that the two builds can be compared on one machine. A plain
// program, since Google Benchmark is not built for Windows here. Prints the
// best of several rounds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "units.h"

namespace {

constexpr unsigned short kPressure = 5;  // Pa to bar
constexpr int kRounds = 7;

template <typename Body>
double BestNanoseconds(long operations, Body body) {
  double best = 1e300;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    body();
    const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count() / static_cast<double>(operations));
  }
  return best;
}

}  // namespace

int main() {
  constexpr int kValues = 1 << 20;
  constexpr int kRepeats = 20;
  std::vector<double> values(kValues);
  for (int i = 0; i < kValues; ++i) values[i] = i * 0.5;
  std::vector<double> results(kValues);
  const double array_ns = BestNanoseconds(static_cast<long>(kValues) * kRepeats, [&] {
    for (int r = 0; r < kRepeats; ++r) UnitGetCurrent(kPressure, values.data(), results.data(), kValues);
  });

  constexpr long kCalls = 1L << 22;
  double sum = 0;
  const double single_ns = BestNanoseconds(kCalls, [&] {
    double result = 0;
    for (long i = 0; i < kCalls; ++i) {
      UnitGetCurrent(kPressure, static_cast<double>(i & 1023), result);
      sum += result;
    }
  });
  if (results[2] != 1e-5 || sum < 0) {
    std::printf("unexpected results\n");
    return 1;
  }
  std::printf("array of %d doubles (pressure): %.3f ns per value\n", kValues, array_ns);
  std::printf("single double (pressure):      %.2f ns per call\n", single_ns);
  return 0;
}
