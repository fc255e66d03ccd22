// Speed of value conversion through the exported functions: arrays of a
// million values against a hand-written loop and against UDUNITS-2, and
// single values at both ends of a catalogue of 1000 quantities.
//
// Benchmark names: Array/<function>/<in_place|out_of_place>/<library|reference>,
// Array/udunits2_<from>_to_<to>/<placement>, Single/<what>/<which>.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#ifdef UNITS_BENCH_HAVE_UDUNITS2
#include "udunits_reference.h"
#endif

#include "bench_catalogue.h"
#include "reference_loops.h"
#include "units.h"

namespace {

constexpr int kArrayLength = 1000000;
constexpr int kQuantityCount = 1000;
constexpr uint16_t kFirstId = 1;
constexpr uint16_t kLastId = kFirstId + kQuantityCount - 1;
// Degrees Fahrenheit over a base in degrees Celsius, the conversion the
// UDUNITS-2 converter does too: one multiply and one add on either side.
constexpr double kFactor = units::bench::kBenchFactor;
constexpr double kOffset = units::bench::kBenchOffset;
// In place, each round converts the previous round's results. Fresh values
// every this many rounds keep them normal numbers (1.8^128 is below 1e33):
// overflow or subnormals would change the speed being measured.
constexpr int64_t kRoundsPerRefill = 128;

enum class Form { kCurrent, kCurrentRel, kBase, kBaseRel };

constexpr Form kForms[] = {Form::kCurrent, Form::kCurrentRel, Form::kBase, Form::kBaseRel};

const char* FormName(Form form) {
  switch (form) {
    case Form::kCurrent: return "UnitGetCurrent";
    case Form::kCurrentRel: return "UnitGetCurrentRel";
    case Form::kBase: return "UnitGetBase";
    case Form::kBaseRel: return "UnitGetBaseRel";
  }
  return "";
}

struct Arrays {
  std::vector<double> fresh;  // never converted
  std::vector<double> input;
  std::vector<double> output;
};

Arrays& TheArrays() {
  static Arrays arrays = [] {
    Arrays made;
    made.fresh.resize(kArrayLength);
    // Spread over -50 .. 950 without a pattern a branch could learn.
    for (int i = 0; i < kArrayLength; ++i) made.fresh[i] = -50.0 + (static_cast<int64_t>(i) * 7919 % 100000) * 0.01;
    made.input = made.fresh;
    made.output.assign(kArrayLength, 0.0);
    return made;
  }();
  return arrays;
}

bool LibraryConvert(Form form, const double* in, double* out, int count) {
  switch (form) {
    case Form::kCurrent: return UnitGetCurrent(kFirstId, in, out, count);
    case Form::kCurrentRel: return UnitGetCurrentRel(kFirstId, in, out, count);
    case Form::kBase: return UnitGetBase(kFirstId, in, out, count);
    case Form::kBaseRel: return UnitGetBaseRel(kFirstId, in, out, count);
  }
  return false;
}

bool ReferenceConvert(Form form, const double* in, double* out, int count) {
  using namespace units::bench;
  const size_t n = static_cast<size_t>(count);
  const bool in_place = in == out;
  switch (form) {
    case Form::kCurrent:
      in_place ? ReferenceMultiplyAddInPlace(out, n, kFactor, kOffset)
               : ReferenceMultiplyAdd(in, out, n, kFactor, kOffset);
      break;
    case Form::kCurrentRel:
      in_place ? ReferenceMultiplyInPlace(out, n, kFactor) : ReferenceMultiply(in, out, n, kFactor);
      break;
    case Form::kBase:
      in_place ? ReferenceSubtractDivideInPlace(out, n, kOffset, kFactor)
               : ReferenceSubtractDivide(in, out, n, kOffset, kFactor);
      break;
    case Form::kBaseRel:
      in_place ? ReferenceDivideInPlace(out, n, kFactor) : ReferenceDivide(in, out, n, kFactor);
      break;
  }
  return true;
}

// Items per second, and the same figure as nanoseconds per element: the rate
// of count * 1e-9 "items" per second, inverted. The console prints the figure
// with an "s" after it; the number is nanoseconds.
void ReportPerElement(benchmark::State& state, int64_t count) {
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["ns_per_element"] = benchmark::Counter(
      static_cast<double>(count) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Runs `convert(input, output)` over the shared arrays.
template <typename Convert>
void RunArray(benchmark::State& state, bool in_place, Convert convert) {
  Arrays& arrays = TheArrays();
  arrays.input = arrays.fresh;
  const double* in = arrays.input.data();
  double* out = in_place ? arrays.input.data() : arrays.output.data();
  int64_t round = 0;
  for (auto _ : state) {
    if (in_place && ++round % kRoundsPerRefill == 0) {
      state.PauseTiming();
      std::copy(arrays.fresh.begin(), arrays.fresh.end(), arrays.input.begin());
      state.ResumeTiming();
    }
    if (!convert(in, out)) {
      state.SkipWithError("the conversion failed");
      break;
    }
    benchmark::ClobberMemory();
  }
  ReportPerElement(state, kArrayLength);
}

void BM_ArrayLibrary(benchmark::State& state, Form form, bool in_place) {
  RunArray(state, in_place, [form](const double* in, double* out) {
    return LibraryConvert(form, in, out, kArrayLength);
  });
}

void BM_ArrayReference(benchmark::State& state, Form form, bool in_place) {
  RunArray(state, in_place, [form](const double* in, double* out) {
    return ReferenceConvert(form, in, out, kArrayLength);
  });
}

void BM_SingleLibrary(benchmark::State& state, uint16_t quantity) {
  double value = 20.0;
  double result = 0.0;
  if (!UnitGetCurrent(quantity, value, result)) {
    state.SkipWithError("the quantity is not in the catalogue");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(UnitGetCurrent(quantity, value, result));
    benchmark::DoNotOptimize(result);
  }
  ReportPerElement(state, 1);
}

#ifdef UNITS_BENCH_HAVE_UDUNITS2

void BM_ArrayUdunits(benchmark::State& state, bool to_fahrenheit, bool in_place) {
  const cv_converter* converter = UdunitsConverter(to_fahrenheit);
  if (converter == nullptr) {
    state.SkipWithError(TheUdunits().error.c_str());
    return;
  }
  RunArray(state, in_place, [converter](const double* in, double* out) {
    return cv_convert_doubles(converter, in, kArrayLength, out) != nullptr;
  });
}

void BM_SingleUdunits(benchmark::State& state) {
  const cv_converter* converter = UdunitsConverter(true);
  if (converter == nullptr) {
    state.SkipWithError(TheUdunits().error.c_str());
    return;
  }
  double value = 20.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(cv_convert_double(converter, value));
  }
  ReportPerElement(state, 1);
}

#endif  // UNITS_BENCH_HAVE_UDUNITS2

// The timings mean nothing unless the library gives the two-step results the
// reference loops compute, bit for bit, in place and apart.
bool LibraryMatchesReference() {
  const Arrays& arrays = TheArrays();
  for (Form form : kForms) {
    std::vector<double> expected(kArrayLength);
    std::vector<double> apart(kArrayLength);
    std::vector<double> in_place = arrays.fresh;
    ReferenceConvert(form, arrays.fresh.data(), expected.data(), kArrayLength);
    const bool ok = LibraryConvert(form, arrays.fresh.data(), apart.data(), kArrayLength) &&
                    LibraryConvert(form, in_place.data(), in_place.data(), kArrayLength);
    const size_t bytes = sizeof(double) * kArrayLength;
    if (!ok || std::memcmp(expected.data(), apart.data(), bytes) != 0 ||
        std::memcmp(expected.data(), in_place.data(), bytes) != 0) {
      std::fprintf(stderr, "%s: the library's results differ from the reference loop's\n", FormName(form));
      return false;
    }
  }
  return true;
}

void RegisterAll() {
  for (bool in_place : {false, true}) {
    const std::string placement = in_place ? "/in_place" : "/out_of_place";
    for (Form form : kForms) {
      const std::string prefix = std::string("Array/") + FormName(form) + placement;
      benchmark::RegisterBenchmark((prefix + "/library").c_str(), BM_ArrayLibrary, form, in_place);
      benchmark::RegisterBenchmark((prefix + "/reference").c_str(), BM_ArrayReference, form, in_place);
    }
#ifdef UNITS_BENCH_HAVE_UDUNITS2
    benchmark::RegisterBenchmark(("Array/udunits2_C_to_F" + placement).c_str(), BM_ArrayUdunits, true, in_place);
    benchmark::RegisterBenchmark(("Array/udunits2_F_to_C" + placement).c_str(), BM_ArrayUdunits, false, in_place);
#endif
  }
  benchmark::RegisterBenchmark("Single/UnitGetCurrent/first", BM_SingleLibrary, kFirstId);
  benchmark::RegisterBenchmark("Single/UnitGetCurrent/last", BM_SingleLibrary, kLastId);
#ifdef UNITS_BENCH_HAVE_UDUNITS2
  benchmark::RegisterBenchmark("Single/udunits2/cv_convert_double", BM_SingleUdunits);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::string folder = units::bench::AttachBenchService(kQuantityCount, 0);
  if (!LibraryMatchesReference()) return 1;
#ifdef UNITS_BENCH_HAVE_UDUNITS2
  OpenUdunits();
  if (!TheUdunits().error.empty()) std::fprintf(stderr, "%s\n", TheUdunits().error.c_str());
#endif
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
#ifdef UNITS_BENCH_HAVE_UDUNITS2
  CloseUdunits();
#endif
  units::bench::DetachBenchService(folder);
  return 0;
}
