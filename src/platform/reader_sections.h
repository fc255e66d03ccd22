// Read sections: many threads read a published object while one writer
// replaces it, and the writer frees the old object only when no reader can
// still hold it.
//
// A reader pays two plain stores to a slot of its own thread (no lock, no
// shared counter); the writer pays the cost instead: after publishing, it
// makes every running thread of the process pass a full memory barrier
// (membarrier on Linux) and then waits for every slot that was inside a
// section to leave it. Where the system cannot do that barrier, readers
// fall back to a full fence of their own.
#ifndef UNITS_PLATFORM_READER_SECTIONS_H_
#define UNITS_PLATFORM_READER_SECTIONS_H_

#include <pthread.h>

#include <atomic>
#include <cstdint>

namespace units {
namespace platform {

class ReaderSections;

struct alignas(64) ReaderSlot {
  // Odd while the owning thread is inside a section. On the shared slot: the
  // number of readers inside.
  std::atomic<uint64_t> sequence{0};
  std::atomic<bool> claimed{false};
  bool shared = false;
  uint32_t depth = 0;  // nesting, touched only by the owning thread
  const ReaderSections* owner = nullptr;
  ReaderSlot* next = nullptr;  // set before the slot is linked, then fixed
};

// The slot the calling thread holds, cached so that entering costs one
// thread-local load. Initial-exec: no allocation on first access.
extern __thread ReaderSlot* t_reader_slot __attribute__((tls_model("initial-exec")));

class ReaderSections {
 public:
  constexpr ReaderSections() = default;
  ReaderSections(const ReaderSections&) = delete;
  ReaderSections& operator=(const ReaderSections&) = delete;

  // Makes `slots` slots ahead of use and the thread-exit hook that returns
  // a thread's slot; later threads claim these without allocating. May throw
  // std::bad_alloc. Call before readers start (attach).
  void Prepare(int slots);
  // Removes the thread-exit hook (the code it points to may be unloaded).
  void Release() noexcept;

  ReaderSlot* Enter() const noexcept {
    ReaderSlot* slot = t_reader_slot;
    if (slot == nullptr || slot->owner != this) slot = Claim();
    if (slot->shared) {
      slot->sequence.fetch_add(1, std::memory_order_seq_cst);
    } else if (slot->depth++ == 0) {
      slot->sequence.store(slot->sequence.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
      // Orders the store above before the section's loads; the writer's
      // process-wide barrier supplies the hardware half.
      if (asymmetric_) {
        std::atomic_signal_fence(std::memory_order_seq_cst);
      } else {
        std::atomic_thread_fence(std::memory_order_seq_cst);
      }
    }
    return slot;
  }

  void Exit(ReaderSlot* slot) const noexcept {
    if (slot->shared) {
      slot->sequence.fetch_sub(1, std::memory_order_release);
    } else if (--slot->depth == 0) {
      slot->sequence.store(slot->sequence.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }
  }

  // Returns once every section that was open when it was called has ended.
  // REQUIRES: the caller is not inside a section itself.
  void Synchronize() const noexcept;

  bool asymmetric() const { return asymmetric_; }

 private:
  ReaderSlot* Claim() const noexcept;
  ReaderSlot* TryClaim() const noexcept;
  void Link(ReaderSlot* slot) const noexcept;

  mutable std::atomic<ReaderSlot*> head_{nullptr};
  mutable ReaderSlot shared_slot_{};
  pthread_key_t exit_key_{};
  bool exit_key_made_ = false;
  bool asymmetric_ = false;
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
