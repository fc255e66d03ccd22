#include <windows.h>

#include <new>

#include "platform/reader_sections.h"

namespace units {
namespace platform {

std::atomic<unsigned long> g_reader_slot_index{TLS_OUT_OF_INDEXES};

bool SetCurrentReaderSlot(ReaderSlot* slot) noexcept {
  DWORD index = g_reader_slot_index.load(std::memory_order_acquire);
  if (index == TLS_OUT_OF_INDEXES) {
    const DWORD made = TlsAlloc();
    if (made == TLS_OUT_OF_INDEXES) return false;
    if (g_reader_slot_index.compare_exchange_strong(index, made, std::memory_order_acq_rel)) {
      index = made;
    } else {
      TlsFree(made);  // another thread made it first; `index` now holds that one
    }
  }
  return TlsSetValue(index, slot) != FALSE;
}

namespace {

// The thread-exit hook is a winpthreads key: it runs for std::thread threads
// and for native threads that touched it alike.

// Runs on a thread that ends: its slot goes back to the pool.
void ReturnSlot(void* value) {
  auto* slot = static_cast<ReaderSlot*>(value);
  // Runs on the ending thread itself: a later exit hook that reads claims anew.
  SetCurrentReaderSlot(nullptr);
  slot->state.store(0, std::memory_order_relaxed);
  slot->claimed.store(false, std::memory_order_release);
}

size_t PageSize() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
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
    SwitchToThread();
  }
}

}  // namespace

void ReaderSections::Prepare(int slots, Barrier wanted) {
  if (!exit_key_made_) exit_key_made_ = pthread_key_create(&exit_key_, &ReturnSlot) == 0;
  // FlushProcessWriteBuffers is Windows' process-wide barrier (Vista on):
  // it stands where Linux has membarrier.
  if (wanted == Barrier::kMembarrier) {
    barrier_ = Barrier::kMembarrier;
  } else if (wanted != Barrier::kReaderFence && MapBarrierPage()) {
    barrier_ = Barrier::kPageProtection;
  } else {
    barrier_ = Barrier::kReaderFence;
  }
  int existing = 0;
  for (ReaderSlot* slot = head_.load(std::memory_order_acquire); slot != nullptr; slot = slot->next) ++existing;
  for (int i = existing; i < slots; ++i) Link(new ReaderSlot);
}

bool ReaderSections::MapBarrierPage() {
  if (barrier_page_ != nullptr) return true;
  void* page = VirtualAlloc(nullptr, PageSize(), MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
  if (page == nullptr) return false;
  barrier_page_ = page;
  return true;
}

// Makes every running thread of the process execute a full barrier.
void ReaderSections::HeavyBarrier() const noexcept {
  if (barrier_ == Barrier::kMembarrier) {
    FlushProcessWriteBuffers();
  } else if (barrier_ == Barrier::kPageProtection) {
    // Changing a page's protection makes the kernel interrupt every CPU that
    // runs a thread of the process to flush its address translations, which
    // serializes those CPUs.
    DWORD previous = 0;
    VirtualProtect(barrier_page_, PageSize(), PAGE_READWRITE, &previous);
    *static_cast<volatile char*>(barrier_page_) = 0;
    VirtualProtect(barrier_page_, PageSize(), PAGE_READONLY, &previous);
  }
  std::atomic_thread_fence(std::memory_order_seq_cst);
}

void ReaderSections::WaitQuiescent(uint64_t epoch) const noexcept {
  for (int round = 0; !Quiescent(epoch); ++round) Pause(round);
}

}  // namespace platform
}  // namespace units
