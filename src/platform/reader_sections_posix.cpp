#include <linux/membarrier.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <new>

#include "platform/reader_sections.h"

namespace units {
namespace platform {

__thread ReaderSlot* t_reader_slot = nullptr;

bool SetCurrentReaderSlot(ReaderSlot* slot) noexcept {
  t_reader_slot = slot;
  return true;
}

namespace {

long Membarrier(int command) { return syscall(__NR_membarrier, command, 0, 0); }

// Fails (EINVAL, ENOSYS) where the kernel lacks the private expedited form.
bool RegisterMembarrier() { return Membarrier(MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED) == 0; }

// Runs on a thread that ends: its slot goes back to the pool.
void ReturnSlot(void* value) {
  auto* slot = static_cast<ReaderSlot*>(value);
  // Runs on the ending thread itself: a later exit hook that reads claims anew.
  SetCurrentReaderSlot(nullptr);
  slot->state.store(0, std::memory_order_relaxed);
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

void ReaderSections::Prepare(int slots, Barrier wanted) {
  if (!exit_key_made_) exit_key_made_ = pthread_key_create(&exit_key_, &ReturnSlot) == 0;
  if (wanted == Barrier::kMembarrier && RegisterMembarrier()) {
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
  void* page = mmap(nullptr, static_cast<size_t>(sysconf(_SC_PAGESIZE)), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS,
                    -1, 0);
  if (page == MAP_FAILED) return false;
  barrier_page_ = page;
  return true;
}

// Makes every running thread of the process execute a full barrier.
void ReaderSections::HeavyBarrier() const noexcept {
  if (barrier_ == Barrier::kMembarrier) {
    Membarrier(MEMBARRIER_CMD_PRIVATE_EXPEDITED);
  } else if (barrier_ == Barrier::kPageProtection) {
    // Changing a page's protection makes the kernel interrupt every CPU that
    // runs a thread of the process to flush its address translations, which
    // serializes those CPUs.
    const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    mprotect(barrier_page_, size, PROT_READ | PROT_WRITE);
    *static_cast<volatile char*>(barrier_page_) = 0;
    mprotect(barrier_page_, size, PROT_READ);
  }
  std::atomic_thread_fence(std::memory_order_seq_cst);
}

void ReaderSections::WaitQuiescent(uint64_t epoch) const noexcept {
  for (int round = 0; !Quiescent(epoch); ++round) Pause(round);
}

}  // namespace platform
}  // namespace units
