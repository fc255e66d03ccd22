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
#include "catalogue/catalogue.h"
#include "groups/group_model.h"
#include "module/module_state.h"
#include "storage/store_sequences.h"

namespace {

constexpr int kQuantityCount = 1000;

std::string TemporaryFolder() {
  const std::string folder = std::filesystem::temp_directory_path().string() + "/units_store_bench_" +
                             std::to_string(getpid()) + "/";
  std::filesystem::create_directories(folder);
  return folder;
}

void InstallCatalogue() {
  units::bench::InstallBenchCatalogue(kQuantityCount, 4);
  std::vector<t_FilterEntry> groups(3);
  for (t_FilterEntry& group : groups) units::InitFilterEntry(&group);
  units::TheGroups().Replace(std::move(groups));
}

void BM_SaveSequence(benchmark::State& state) {
  const std::string folder = TemporaryFolder();
  setenv("UNITS_REGISTRY_DB", (folder + "REGISTRY.DB").c_str(), 1);
  units::Module().data_folder = folder;
  units::Module().registry_path = "Software\\Bench\\";
  units::Module().user_part = "User";
  InstallCatalogue();
  for (auto _ : state) {
    if (!units::SaveSequence()) state.SkipWithError("the save failed");
  }
  state.counters["us_per_quantity"] = benchmark::Counter(
      kQuantityCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
      benchmark::Counter::kIs1000);
  std::filesystem::remove_all(folder);
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
