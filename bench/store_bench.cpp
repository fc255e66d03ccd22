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
  units::QuantityTable table;
  for (int q = 0; q < kQuantityCount; ++q) {
    auto quantity = std::make_unique<t_quantity>();
    units::InitQuantity(quantity.get());
    quantity->wId = static_cast<uint16_t>(q + 1);
    units::CopyText(quantity->szName, sizeof(quantity->szName), ("Quantity " + std::to_string(q)).c_str());
    quantity->dwState = units::kQuantityEnabled;
    for (int s = 0; s < 3; ++s) {
      t_subquantity& slot = quantity->aSubQuantity[s];
      slot.lSubQuan = s + 1;
      slot.wState = units::kSlotDefined | units::kSlotEnabled;
      slot.wCount = 4;
      for (uint16_t p = 0; p < 4; ++p) slot.awDevice[p] = static_cast<uint16_t>(p + 1);
    }
    table.push_back(std::move(quantity));
  }
  units::TheCatalogue().Replace(std::move(table));
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
