// Single-value conversion as a host sees it: through the exported function of
// the built shared library, on a catalogue of 1000 quantities that the library
// itself loads from its data folder, against UDUNITS-2 on the same conversion.
// UNITS_HOST_BENCH_LIBRARY, when set, names another libunits.so to measure
// (an older build, for a back-to-back comparison).
//
// Benchmark names: Host/UnitGetCurrent/<first|last>, Host/udunits2/cv_convert_double.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef UNITS_BENCH_HAVE_UDUNITS2
#include "udunits_reference.h"
#endif

#ifndef UNITS_LIBRARY_PATH
#error "define UNITS_LIBRARY_PATH as the path of the built libunits.so"
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kQuantityCount = 1000;
constexpr uint16_t kFirstId = 1;
constexpr uint16_t kLastId = kFirstId + kQuantityCount - 1;
constexpr double kFactor = 1.8;
constexpr double kOffset = 32.0;
constexpr int kUnitSlots = 10;
constexpr int kSlots = 10;
constexpr int kDefinedSlots = 3;

// bool UnitGetCurrent(unsigned short, double, double&): C++ linkage, so the
// host finds it by its mangled name.
constexpr const char* kUnitGetCurrentSymbol = "_Z14UnitGetCurrenttdRd";
using UnitGetCurrentFn = bool (*)(unsigned short, double, double&);

// ---- The data file, little-endian, byte by byte ----------------------------
// Written from the documented layout rather than with the library's encoder,
// so the bench depends on nothing but the shared library and its file format.

void PutU16(std::string* out, uint16_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string* out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutI32(std::string* out, int32_t v) { PutU32(out, static_cast<uint32_t>(v)); }

void PutF64(std::string* out, double v) {
  uint64_t bits = 0;
  static_assert(sizeof(bits) == sizeof(v), "f64 is 8 bytes");
  std::memcpy(&bits, &v, sizeof(bits));
  for (int shift = 0; shift < 64; shift += 8) out->push_back(static_cast<char>((bits >> shift) & 0xFF));
}

// Fixed-width text: cut to leave room for the NUL, padded with NULs.
void PutText(std::string* out, const std::string& text, size_t width) {
  const size_t length = text.size() < width ? text.size() : width - 1;
  out->append(text, 0, length);
  out->append(width - length, '\0');
}

void PutUnitEntry(std::string* out, double factor, double offset, const std::string& text, uint16_t state) {
  PutU16(out, 2);  // entry version: f64 factor and offset
  PutF64(out, factor);
  PutF64(out, offset);
  PutText(out, text, 21);
  PutU16(out, state);
}

void PutSlotEntry(std::string* out, int32_t number, const std::string& name, const std::string& symbol,
                  uint16_t state, uint32_t flags) {
  PutU16(out, 4);  // entry version: with device/index pairs
  PutI32(out, number);
  PutText(out, name, 41);
  PutText(out, symbol, 21);
  PutText(out, "", 21);
  PutU16(out, state);
  PutU32(out, flags);
  PutU16(out, 0);  // no device/index pairs
}

// Every quantity shows °F over a base in °C (factor 1.8, offset 32), as the
// in-process benchmarks' catalogue does, with three defined subquantities.
void PutQuantityRecord(std::string* out, int number) {
  const uint16_t kUnitDefined = 0x1, kUnitUndefined = 0x2;
  const uint16_t kSlotDefinedEnabled = 0x3, kSlotEnabledOnly = 0x2;
  const uint32_t kQuantityEnabled = 0x2, kFlagData = 0x4;
  const std::string name = "Quantity " + std::to_string(number);
  PutU16(out, 2);  // record version
  PutU16(out, static_cast<uint16_t>(kFirstId + number));
  PutText(out, name, 41);
  PutText(out, "Q", 21);
  PutText(out, "", 21);
  PutU32(out, kQuantityEnabled);
  PutU32(out, 1);  // current display unit: slot 1
  PutI32(out, kUnitSlots);
  PutUnitEntry(out, 1.0, 0.0, "\xC2\xB0" "C", kUnitDefined);
  PutUnitEntry(out, kFactor, kOffset, "\xC2\xB0" "F", kUnitDefined);
  for (int u = 2; u < kUnitSlots; ++u) PutUnitEntry(out, 1.0, 0.0, "", kUnitUndefined);
  PutI32(out, kSlots);
  for (int s = 0; s < kSlots; ++s) {
    if (s < kDefinedSlots) {
      PutSlotEntry(out, s + 1, name + " part " + std::to_string(s + 1), "q", kSlotDefinedEnabled, kFlagData);
    } else {
      PutSlotEntry(out, 0, "", "", kSlotEnabledOnly, 0);
    }
  }
}

std::string EncodeCatalogue() {
  std::string out;
  PutU16(&out, 0xFFFF);  // marker of the header with settings
  PutU16(&out, 2);       // file version
  PutU16(&out, kQuantityCount);
  PutI32(&out, -1);      // unit format not set
  PutU16(&out, 0xFFFF);  // text mode not set
  for (int i = 0; i < kQuantityCount; ++i) PutQuantityRecord(&out, i);
  return out;
}

constexpr size_t kExpectedFileSize = 12 + static_cast<size_t>(kQuantityCount) * 1483;

// ---- The library, loaded as a host loads it --------------------------------

struct Host {
  fs::path folder;  // the copied library pair and its data folder
  void* library = nullptr;
  UnitGetCurrentFn unit_get_current = nullptr;
};

Host& TheHost() {
  static Host host;
  return host;
}

bool WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

// The library reads Units/DEFAULT.UDF beside itself when it is loaded, so the
// pair is copied to a folder of our own and the file written before dlopen:
// the built tree's data folder stays untouched.
bool LoadLibrary(std::string* error) {
  Host& host = TheHost();
  const char* override_path = std::getenv("UNITS_HOST_BENCH_LIBRARY");
  const fs::path built = (override_path != nullptr && *override_path != '\0') ? override_path : UNITS_LIBRARY_PATH;
  std::string pattern = (fs::temp_directory_path() / "units_host_bench_XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    *error = "cannot make a temporary folder";
    return false;
  }
  host.folder = pattern;
  std::error_code ec;
  fs::create_directories(host.folder / "Units", ec);
  // liblanguage.so.1 (the name the library needs) is found through the
  // library's $ORIGIN run path.
  for (const char* name : {"libunits.so", "liblanguage.so.1"}) {
    fs::copy_file(built.parent_path() / name, host.folder / name, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      *error = "cannot copy " + (built.parent_path() / name).string() + ": " + ec.message();
      return false;
    }
  }
  const std::string udf = EncodeCatalogue();
  if (udf.size() != kExpectedFileSize || !WriteFile(host.folder / "Units" / "DEFAULT.UDF", udf)) {
    *error = "cannot write the catalogue file";
    return false;
  }
  // Keep the store and the shared folders the library may touch inside our
  // folder, away from the user's.
  setenv("UNITS_REGISTRY_DB", (host.folder / "REGISTRY.DB").c_str(), 1);
  setenv("XDG_DATA_HOME", (host.folder / "share").c_str(), 1);
  setenv("XDG_DOCUMENTS_DIR", (host.folder / "documents").c_str(), 1);
  host.library = dlopen((host.folder / "libunits.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  if (host.library == nullptr) {
    *error = dlerror();
    return false;
  }
  host.unit_get_current = reinterpret_cast<UnitGetCurrentFn>(dlsym(host.library, kUnitGetCurrentSymbol));
  if (host.unit_get_current == nullptr) {
    *error = std::string("no ") + kUnitGetCurrentSymbol + " in the library";
    return false;
  }
  return true;
}

void UnloadLibrary() {
  Host& host = TheHost();
  if (host.library != nullptr) dlclose(host.library);
  host.library = nullptr;
  std::error_code ec;
  if (!host.folder.empty()) fs::remove_all(host.folder, ec);
}

// The timings mean nothing unless the library serves the file's catalogue:
// both ends convert with 1.8 and 32, and nothing lies beyond the last.
bool LibraryServesCatalogue(std::string* error) {
  const UnitGetCurrentFn convert = TheHost().unit_get_current;
  volatile double factor = kFactor;  // the library's two rounded steps, not a folded constant
  const double expected = 100.0 * factor + kOffset;
  for (uint16_t id : {kFirstId, kLastId}) {
    double result = 0.0;
    if (!convert(id, 100.0, result) || result != expected) {
      *error = "UnitGetCurrent(" + std::to_string(id) + ", 100) gives " + std::to_string(result) + ", not " +
               std::to_string(expected);
      return false;
    }
  }
  double ignored = 0.0;
  if (convert(static_cast<uint16_t>(kLastId + 1), 100.0, ignored)) {
    *error = "the catalogue holds more than " + std::to_string(kQuantityCount) + " quantities";
    return false;
  }
  return true;
}

// Nanoseconds per element, as the in-process benchmarks report it.
void ReportPerElement(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations());
  state.counters["ns_per_element"] =
      benchmark::Counter(1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_HostSingle(benchmark::State& state, uint16_t quantity) {
  const UnitGetCurrentFn convert = TheHost().unit_get_current;
  double value = 20.0;
  double result = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(convert(quantity, value, result));
    benchmark::DoNotOptimize(result);
  }
  ReportPerElement(state);
}

#ifdef UNITS_BENCH_HAVE_UDUNITS2

void BM_HostUdunits(benchmark::State& state) {
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
  ReportPerElement(state);
}

#endif  // UNITS_BENCH_HAVE_UDUNITS2

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::string error;
  if (!LoadLibrary(&error) || !LibraryServesCatalogue(&error)) {
    std::fprintf(stderr, "host_bench: %s\n", error.c_str());
    UnloadLibrary();
    return 1;
  }
  benchmark::RegisterBenchmark("Host/UnitGetCurrent/first", BM_HostSingle, kFirstId);
  benchmark::RegisterBenchmark("Host/UnitGetCurrent/last", BM_HostSingle, kLastId);
#ifdef UNITS_BENCH_HAVE_UDUNITS2
  OpenUdunits();
  if (!TheUdunits().error.empty()) std::fprintf(stderr, "%s\n", TheUdunits().error.c_str());
  benchmark::RegisterBenchmark("Host/udunits2/cv_convert_double", BM_HostUdunits);
#endif
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
#ifdef UNITS_BENCH_HAVE_UDUNITS2
  CloseUdunits();
#endif
  UnloadLibrary();
  return 0;
}
