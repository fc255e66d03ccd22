// Start-up and the save sequence: loading the shared library with the
// default catalogue (attach, configuration, first load), and writing a
// catalogue of 1000 quantities with its groups into the key-value store in
// one transaction.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_catalogue.h"
#include "service/service.h"
#include "storage/store_sequences.h"

namespace {

constexpr int kQuantityCount = 1000;

void BM_SaveSequence(benchmark::State& state) {
  const std::string folder = units::bench::AttachBenchService(kQuantityCount, 4, 3);
  units::StoreLocation location;
  location.registry_path = "Software\\Bench\\";
  location.user_part = "User";
  location.data_folder = folder + "Units/";
  location.registry_database = location.data_folder + "REGISTRY.DB";
  const units::StoredContents contents = units::TheService().ContentsCopy();
  for (auto _ : state) {
    if (!units::SaveSequence(location, contents)) state.SkipWithError("the save failed");
  }
  state.counters["us_per_quantity"] = benchmark::Counter(
      kQuantityCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
      benchmark::Counter::kIs1000);
  units::bench::DetachBenchService(folder);
}

// The built library with the default data folder beside it, as a host loads it.
void BM_StartUp(benchmark::State& state) {
  for (auto _ : state) {
    void* library = dlopen(UNITS_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      state.SkipWithError(dlerror());
      break;
    }
    dlclose(library);
  }
}

BENCHMARK(BM_SaveSequence)->Name("Store/SaveSequence/1000_quantities")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp)->Name("Store/StartUp/default_catalogue")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
