#include <linux/membarrier.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <new>

#include "platform/reader_sections.h"

namespace units {
namespace platform {

__thread ReaderSlot* t_reader_slot = nullptr;

namespace {

long Membarrier(int command) { return syscall(__NR_membarrier, command, 0, 0); }

bool RegisterMembarrier() {
  const long supported = Membarrier(MEMBARRIER_CMD_QUERY);
  if (supported < 0 || (supported & MEMBARRIER_CMD_PRIVATE_EXPEDITED) == 0) return false;
  return Membarrier(MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED) == 0;
}

// Runs on a thread that ends: its slot goes back to the pool.
void ReturnSlot(void* value) {
  auto* slot = static_cast<ReaderSlot*>(value);
  if (t_reader_slot == slot) t_reader_slot = nullptr;
  slot->depth = 0;
  slot->claimed.store(false, std::memory_order_release);
}

inline void PauseHint() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

void Pause(int round) {
  if (round < 64) {
    PauseHint();
  } else {
    sched_yield();
  }
}

}  // namespace

void ReaderSections::Prepare(int slots) {
  shared_slot_.shared = true;
  shared_slot_.owner = this;
  if (!exit_key_made_) exit_key_made_ = pthread_key_create(&exit_key_, &ReturnSlot) == 0;
  asymmetric_ = RegisterMembarrier();
  int existing = 0;
  for (ReaderSlot* slot = head_.load(std::memory_order_acquire); slot != nullptr; slot = slot->next) ++existing;
  for (int i = existing; i < slots; ++i) {
    auto* slot = new ReaderSlot;
    slot->owner = this;
    Link(slot);
  }
}

void ReaderSections::Release() noexcept {
  if (exit_key_made_) pthread_key_delete(exit_key_);
  exit_key_made_ = false;
}

void ReaderSections::Link(ReaderSlot* slot) const noexcept {
  ReaderSlot* head = head_.load(std::memory_order_relaxed);
  do {
    slot->next = head;
  } while (!head_.compare_exchange_weak(head, slot, std::memory_order_release, std::memory_order_relaxed));
}

ReaderSlot* ReaderSections::TryClaim() const noexcept {
  for (ReaderSlot* slot = head_.load(std::memory_order_acquire); slot != nullptr; slot = slot->next) {
    bool expected = false;
    if (!slot->claimed.load(std::memory_order_relaxed) &&
        slot->claimed.compare_exchange_strong(expected, true, std::memory_order_acquire)) {
      return slot;
    }
  }
  auto* slot = new (std::nothrow) ReaderSlot;
  if (slot == nullptr) return nullptr;
  slot->owner = this;
  slot->claimed.store(true, std::memory_order_relaxed);
  Link(slot);
  return slot;
}

ReaderSlot* ReaderSections::Claim() const noexcept {
  ReaderSlot* slot = TryClaim();
  // Out of memory: share one slot whose counter every reader updates. Slower,
  // never wrong; the thread tries again at its next section.
  if (slot == nullptr) return &shared_slot_;
  // Without the exit hook the slot stays with this thread's memory forever;
  // it is still correct, only not reused.
  if (exit_key_made_) pthread_setspecific(exit_key_, slot);
  t_reader_slot = slot;
  return slot;
}

void ReaderSections::Synchronize() const noexcept {
  if (asymmetric_) {
    Membarrier(MEMBARRIER_CMD_PRIVATE_EXPEDITED);
  } else {
    std::atomic_thread_fence(std::memory_order_seq_cst);
  }
  for (const ReaderSlot* slot = head_.load(std::memory_order_acquire); slot != nullptr; slot = slot->next) {
    const uint64_t seen = slot->sequence.load(std::memory_order_acquire);
    if ((seen & 1) == 0) continue;
    for (int round = 0; slot->sequence.load(std::memory_order_acquire) == seen; ++round) Pause(round);
  }
  for (int round = 0; shared_slot_.sequence.load(std::memory_order_acquire) != 0; ++round) Pause(round);
}

}  // namespace platform
}  // namespace units
