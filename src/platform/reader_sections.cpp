// The parts of the reader sections that every system shares: the slot list,
// claiming a slot, and the epochs. The barriers and the thread-exit hook's
// setup are the system's (reader_sections_<system>.cpp).
#include <pthread.h>

#include <new>

#include "platform/reader_sections.h"

namespace units {
namespace platform {

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
  slot->claimed.store(true, std::memory_order_relaxed);
  Link(slot);
  return slot;
}

ReaderSlot* ReaderSections::Claim() const noexcept {
  ReaderSlot* slot = TryClaim();
  // Out of memory: share one slot whose counter every reader updates. Slower,
  // never wrong; the thread tries again at its next section.
  if (slot == nullptr) return &shared_slot_;
  // A slot the thread cannot keep would be claimed anew at every section.
  if (!SetCurrentReaderSlot(slot)) {
    slot->claimed.store(false, std::memory_order_release);
    return &shared_slot_;
  }
  // Without the exit hook the slot stays with this thread for ever; still
  // correct, only not reused.
  if (exit_key_made_) pthread_setspecific(exit_key_, slot);
  return slot;
}

uint64_t ReaderSections::Retire() const noexcept {
  const uint64_t next = epoch_.load(std::memory_order_relaxed) + 2;
  // Release: a reader that finds the new epoch also finds what was
  // published before it.
  epoch_.store(next, std::memory_order_release);
  HeavyBarrier();
  return next;
}

bool ReaderSections::Quiescent(uint64_t epoch) const noexcept {
  for (const ReaderSlot* slot = head_.load(std::memory_order_acquire); slot != nullptr; slot = slot->next) {
    // A slot at 0 is outside; one at `epoch` or later entered after the
    // object was retired and cannot have found it.
    const uint64_t state = slot->state.load(std::memory_order_acquire);
    if (state != 0 && state < epoch) return false;
  }
  return shared_slot_.state.load(std::memory_order_acquire) == 0;
}

}  // namespace platform
}  // namespace units
