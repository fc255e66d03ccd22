// Speed of saving and loading a UDF file of 1000 quantities, each with three
// defined subquantities that carry a few device/index pairs.
//
// The file benchmarks include what a save really costs (a temporary file,
// fsync, rename, fsync of the folder); the Encode/Decode benchmarks show the
// share of the record encoding alone, in memory.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>

#include "bench_catalogue.h"
#include "model/udf_format.h"
#include "storage/store_files.h"

namespace {

constexpr int kQuantityCount = 1000;
constexpr int kPairsPerSlot = 4;
constexpr const char* kFileName = "BENCH.UDF";

std::string g_folder;  // the temporary data folder

std::shared_ptr<const units::Catalogue> BenchCatalogue() {
  return units::MakeCatalogue(units::bench::MakeBenchRecords(kQuantityCount, kPairsPerSlot));
}

bool Save(const units::Catalogue& catalogue) { return units::SaveUdfFile(g_folder + kFileName, catalogue, 0, 0); }

// Time per quantity in microseconds: the rate of quantities * 1e-6 per
// second, inverted (the console prints the figure with an "s" after it).
void ReportPerQuantity(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kQuantityCount);
  state.counters["us_per_quantity"] =
      benchmark::Counter(kQuantityCount * 1e-6,
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SaveUdfFile(benchmark::State& state) {
  const auto catalogue = BenchCatalogue();
  for (auto _ : state) {
    if (!Save(*catalogue)) {
      state.SkipWithError("SaveUdfFile failed");
      break;
    }
  }
  ReportPerQuantity(state);
}

void BM_LoadUdfFile(benchmark::State& state) {
  if (!Save(*BenchCatalogue())) {
    state.SkipWithError("SaveUdfFile failed");
    return;
  }
  for (auto _ : state) {
    const auto loaded = units::MakeCatalogue(units::ReadUdfFile(g_folder + kFileName).records);
    if (loaded->Count() != kQuantityCount) {
      state.SkipWithError("LoadUdfFile did not give back every quantity");
      break;
    }
  }
  ReportPerQuantity(state);
}

void BM_EncodeUdf(benchmark::State& state) {
  const auto catalogue = BenchCatalogue();
  for (auto _ : state) {
    benchmark::DoNotOptimize(units::EncodeUdf(*catalogue, 0, 0));
  }
  ReportPerQuantity(state);
}

void BM_DecodeUdf(benchmark::State& state) {
  const std::string bytes = units::EncodeUdf(*BenchCatalogue(), 0, 0);
  for (auto _ : state) {
    units::ByteReader reader(bytes.data(), bytes.size());
    units::UdfContents contents = units::DecodeUdf(reader);
    if (contents.records.size() != kQuantityCount) {
      state.SkipWithError("DecodeUdf did not give back every quantity");
      break;
    }
    benchmark::DoNotOptimize(contents);
  }
  ReportPerQuantity(state);
}

// Wall-clock time: a save spends most of its time waiting for the disk, which
// CPU time would not show.
BENCHMARK(BM_SaveUdfFile)->UseRealTime();
BENCHMARK(BM_LoadUdfFile)->UseRealTime();
BENCHMARK(BM_EncodeUdf)->UseRealTime();
BENCHMARK(BM_DecodeUdf)->UseRealTime();

// A fresh folder below the system's temporary folder (TMPDIR), removed again
// at the end: the saves must not touch a real data folder.
std::string MakeDataFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "units_storage_bench_XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return std::string();
  return pattern + "/";
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::string folder = MakeDataFolder();
  if (folder.empty()) {
    std::perror("cannot create a temporary data folder");
    return 1;
  }
  g_folder = folder;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
