// The catalogue every benchmark measures on: quantities with ids 1..count, a
// second display unit (°F: factor 1.8, offset 32) chosen as current, and
// three defined, enabled subquantities with `pairs_per_slot` device/index
// registrations each.
#ifndef UNITS_BENCH_BENCH_CATALOGUE_H_
#define UNITS_BENCH_BENCH_CATALOGUE_H_

#include <string>

#include "model/catalogue.h"

namespace units {
namespace bench {

constexpr int kBenchQuantities = 1000;
constexpr int kBenchSlots = 3;
constexpr double kBenchFactor = 1.8;
constexpr double kBenchOffset = 32.0;

QuantityTable MakeBenchRecords(int count, int pairs_per_slot);

// Attaches the service to a fresh temporary module folder and commits the
// bench catalogue (with `groups` empty groups). Returns the module folder.
std::string AttachBenchService(int count, int pairs_per_slot, int groups = 0);
// Detaches and removes the folder.
void DetachBenchService(const std::string& folder);

}  // namespace bench
}  // namespace units

#endif  // UNITS_BENCH_BENCH_CATALOGUE_H_
