// What a reader pays to hold a published snapshot, by reclamation scheme:
// the read sections the library uses (an epoch store per section, the
// writer supplying the barrier), the same with a full fence on the reader's
// side (epochs without a process-wide barrier), hazard pointers (publish,
// fence, re-check), a shared_ptr copy (reference counting) and a shared
// mutex. Each iteration enters, loads the snapshot, reads one double and
// leaves; with ->Threads(2) two readers share the machine.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <shared_mutex>

#include "platform/reader_sections.h"

namespace {

struct Snapshot {
  double factor = 1.8;
};

Snapshot g_snapshot;
std::atomic<const Snapshot*> g_published{&g_snapshot};
std::shared_ptr<const Snapshot> g_shared = std::make_shared<Snapshot>();
std::shared_mutex g_lock;

units::platform::ReaderSections& Sections() {
  static units::platform::ReaderSections* sections = [] {
    auto* made = new units::platform::ReaderSections;
    made->Prepare(8);
    return made;
  }();
  return *sections;
}

void BM_ReadSection(benchmark::State& state) {
  const units::platform::ReaderSections& sections = Sections();
  for (auto _ : state) {
    units::platform::ReadSection section(sections);
    benchmark::DoNotOptimize(g_published.load(std::memory_order_acquire)->factor);
  }
}

// One slot per thread, as above, but the reader orders its own store.
void BM_EpochWithReaderFence(benchmark::State& state) {
  static thread_local std::atomic<uint64_t> slot{0};
  for (auto _ : state) {
    slot.store(1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    benchmark::DoNotOptimize(g_published.load(std::memory_order_acquire)->factor);
    slot.store(0, std::memory_order_release);
  }
}

void BM_HazardPointer(benchmark::State& state) {
  static thread_local std::atomic<const Snapshot*> hazard{nullptr};
  for (auto _ : state) {
    const Snapshot* seen = g_published.load(std::memory_order_relaxed);
    const Snapshot* confirmed = nullptr;
    do {
      confirmed = seen;
      hazard.store(confirmed, std::memory_order_relaxed);
      std::atomic_thread_fence(std::memory_order_seq_cst);
      seen = g_published.load(std::memory_order_acquire);
    } while (seen != confirmed);
    benchmark::DoNotOptimize(confirmed->factor);
    hazard.store(nullptr, std::memory_order_release);
  }
}

void BM_SharedPtrCopy(benchmark::State& state) {
  for (auto _ : state) {
    std::shared_ptr<const Snapshot> held = std::atomic_load(&g_shared);
    benchmark::DoNotOptimize(held->factor);
  }
}

void BM_SharedMutex(benchmark::State& state) {
  for (auto _ : state) {
    std::shared_lock<std::shared_mutex> hold(g_lock);
    benchmark::DoNotOptimize(g_snapshot.factor);
  }
}

BENCHMARK(BM_ReadSection)->Name("Reclamation/read_section")->Threads(1)->Threads(2);
BENCHMARK(BM_EpochWithReaderFence)->Name("Reclamation/epoch_reader_fence")->Threads(1)->Threads(2);
BENCHMARK(BM_HazardPointer)->Name("Reclamation/hazard_pointer")->Threads(1)->Threads(2);
BENCHMARK(BM_SharedPtrCopy)->Name("Reclamation/shared_ptr_copy")->Threads(1)->Threads(2);
BENCHMARK(BM_SharedMutex)->Name("Reclamation/shared_mutex")->Threads(1)->Threads(2);

}  // namespace

BENCHMARK_MAIN();
