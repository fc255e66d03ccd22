// Read sections: many threads read a published object while one writer
// replaces it, and the writer frees the old object only when no reader can
// still hold it.
//
// A reader pays one load and two plain stores to a slot of its own thread:
// no lock, no shared counter, no fence. On entry it writes the current epoch
// into its slot, on exit 0. The writer pays instead: after unpublishing an
// object it advances the epoch (Retire) and makes every running thread of the
// process pass a full memory barrier (membarrier, or a page-protection change
// where membarrier is missing). The object may be freed once no slot shows
// an epoch older than the one Retire returned: a reader that entered later
// found the new object. Where neither barrier exists, readers fence
// themselves.
//
// One instance per process: a thread caches its slot (CurrentReaderSlot).
// Sections do not nest.
#ifndef UNITS_PLATFORM_READER_SECTIONS_H_
#define UNITS_PLATFORM_READER_SECTIONS_H_

#include <pthread.h>

#include <atomic>
#include <cstdint>

namespace units {
namespace platform {

struct alignas(64) ReaderSlot {
  // 0 outside a section, the epoch of entry (odd) inside. On the shared
  // slot: the number of readers inside.
  std::atomic<uint64_t> state{0};
  std::atomic<bool> claimed{false};
  ReaderSlot* next = nullptr;  // set before the slot is linked, then fixed
  // Per-thread data of the layer above (text buffers), kept with the slot
  // and reused by the next thread that claims it.
  void* thread_data = nullptr;
};

// The slot the calling thread holds (null before its first section), cached
// so that entering costs one thread-local load.
#if defined(_WIN32)
// MinGW emulates __thread through winpthreads, whose every read takes a spin
// lock and saves and restores the last error. A native TLS index is one read
// of the thread's block. Declared here so that callers need no windows.h;
// the declaration is the system header's own.
extern "C" __declspec(dllimport) void* __stdcall TlsGetValue(unsigned long index);
// The index, made at the first claim; until then an invalid index, for which
// TlsGetValue gives null.
extern std::atomic<unsigned long> g_reader_slot_index;
inline ReaderSlot* CurrentReaderSlot() noexcept {
  return static_cast<ReaderSlot*>(TlsGetValue(g_reader_slot_index.load(std::memory_order_acquire)));
}
#else
// Initial-exec: no allocation and no lookup on access.
extern __thread ReaderSlot* t_reader_slot __attribute__((tls_model("initial-exec")));
inline ReaderSlot* CurrentReaderSlot() noexcept { return t_reader_slot; }
#endif
// False when the system has no thread-local place left for it.
bool SetCurrentReaderSlot(ReaderSlot* slot) noexcept;

class ReaderSections {
 public:
  constexpr ReaderSections() = default;
  ReaderSections(const ReaderSections&) = delete;
  ReaderSections& operator=(const ReaderSections&) = delete;

  // How the writer makes readers' slot stores visible: a process-wide
  // barrier of the kernel, one made by changing a page's protection, or a
  // full fence in every reader. The first the system offers is taken.
  enum class Barrier { kMembarrier, kPageProtection, kReaderFence };

  // Makes `slots` slots ahead of use, chooses the barrier (the first that
  // works from `wanted` on; tests ask for the fallbacks) and installs the
  // thread-exit hook that returns a thread's slot; later threads claim these
  // without allocating. May throw std::bad_alloc. Call before readers start.
  void Prepare(int slots, Barrier wanted = Barrier::kMembarrier);
  Barrier barrier() const { return barrier_; }
  // Removes the thread-exit hook (the code it points to may be unloaded).
  void Release() noexcept;

  ReaderSlot* Enter() const noexcept {
    ReaderSlot* slot = CurrentReaderSlot();
    if (slot == nullptr) slot = Claim();
    if (slot == &shared_slot_) {
      slot->state.fetch_add(1, std::memory_order_seq_cst);
      return slot;
    }
    // Release: what this thread read in earlier sections happens before a
    // writer that sees this store, so it may free what those sections used.
    slot->state.store(epoch_.load(std::memory_order_acquire), std::memory_order_release);
    if (barrier_ == Barrier::kReaderFence) {
      std::atomic_thread_fence(std::memory_order_seq_cst);
    } else {
      // The writer's process-wide barrier supplies the hardware half.
      std::atomic_signal_fence(std::memory_order_seq_cst);
    }
    return slot;
  }

  // The fast form for a thread that already holds a slot (CurrentReaderSlot()
  // not null), where the writer supplies the barrier (asymmetric()).
  void EnterOwn(ReaderSlot* slot) const noexcept {
    slot->state.store(epoch_.load(std::memory_order_acquire), std::memory_order_release);
    std::atomic_signal_fence(std::memory_order_seq_cst);
  }
  void ExitOwn(ReaderSlot* slot) const noexcept { slot->state.store(0, std::memory_order_release); }
  // Whether readers may leave the hardware fence to the writer.
  bool asymmetric() const { return barrier_ != Barrier::kReaderFence; }

  void Exit(ReaderSlot* slot) const noexcept {
    if (slot == &shared_slot_) {
      slot->state.fetch_sub(1, std::memory_order_release);
    } else {
      slot->state.store(0, std::memory_order_release);
    }
  }

  // Call after unpublishing an object; returns the epoch from which on no
  // new section can find it. REQUIRES: writers are serialized.
  uint64_t Retire() const noexcept;
  // Whether every section that could have found an object retired with
  // `epoch` has ended.
  bool Quiescent(uint64_t epoch) const noexcept;
  // Waits for that. REQUIRES: the caller is not inside a section.
  void WaitQuiescent(uint64_t epoch) const noexcept;

 private:
  ReaderSlot* Claim() const noexcept;
  ReaderSlot* TryClaim() const noexcept;
  void Link(ReaderSlot* slot) const noexcept;
  void HeavyBarrier() const noexcept;
  bool MapBarrierPage();

  alignas(64) mutable std::atomic<uint64_t> epoch_{1};  // odd; advanced by 2
  Barrier barrier_ = Barrier::kReaderFence;  // until Prepare finds a better one
  void* barrier_page_ = nullptr;
  pthread_key_t exit_key_{};
  bool exit_key_made_ = false;
  alignas(64) mutable std::atomic<ReaderSlot*> head_{nullptr};
  // Out of memory for a slot of its own, a thread shares this one.
  mutable ReaderSlot shared_slot_{};
};

// RAII form of Enter/Exit.
class ReadSection {
 public:
  explicit ReadSection(const ReaderSections& sections) noexcept : sections_(sections), slot_(sections.Enter()) {}
  ~ReadSection() { sections_.Exit(slot_); }
  ReadSection(const ReadSection&) = delete;
  ReadSection& operator=(const ReadSection&) = delete;

 private:
  const ReaderSections& sections_;
  ReaderSlot* slot_;
};

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_READER_SECTIONS_H_
