// Cost of the group query over a catalogue of 1000 quantities with three
// enabled subquantities each (3000 records), through the exported function.
// Reports time per record and the peak of heap bytes live during one query.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "bench_catalogue.h"
#include "units.h"

// Heap accounting for everything this program allocates through new.
namespace {
size_t g_live_bytes = 0;
size_t g_peak_bytes = 0;

void* Allocate(size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  g_live_bytes += malloc_usable_size(p);
  if (g_live_bytes > g_peak_bytes) g_peak_bytes = g_live_bytes;
  return p;
}

void Release(void* p) {
  if (p == nullptr) return;
  g_live_bytes -= malloc_usable_size(p);
  std::free(p);
}
}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

namespace {

constexpr int kQuantityCount = 1000;
template <typename Query>
void RunQuery(benchmark::State& state, Query query) {
  setenv("UNITS_LANG", "C", 1);
  const std::string folder = units::bench::AttachBenchService(kQuantityCount, 0);
  int count = 0;
  size_t peak = 0;
  for (auto _ : state) {
    g_peak_bytes = g_live_bytes;
    const size_t before = g_live_bytes;
    t_unitquantity* records = query(&count);
    benchmark::DoNotOptimize(records);
    UnitDeleteArray(records);
    peak = g_peak_bytes - before;
  }
  state.counters["records"] = count;
  state.counters["peak_bytes"] = static_cast<double>(peak);
  state.counters["peak_bytes_per_record"] = static_cast<double>(peak) / count;
  state.counters["us_per_1000_records"] =
      benchmark::Counter(static_cast<double>(count) / 1000.0,
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
                         benchmark::Counter::kIs1000);
  state.SetItemsProcessed(state.iterations() * count);
  units::bench::DetachBenchService(folder);
}

void BM_Query(benchmark::State& state) {
  RunQuery(state, [](int* count) { return UnitGetAllFilterQuantities(*count); });
}

BENCHMARK(BM_Query)->Name("GroupQuery/1000x3/current")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
