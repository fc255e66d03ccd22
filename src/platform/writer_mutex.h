// The lock that serializes the writers of the service. The service is a
// global that is never destroyed (host threads may still read during exit),
// so its lock must be constant-initialised and trivially destructible.
// std::mutex is both on glibc; MinGW's (on winpthreads) is neither, so
// Windows takes a slim reader/writer lock, which is.
#ifndef UNITS_PLATFORM_WRITER_MUTEX_H_
#define UNITS_PLATFORM_WRITER_MUTEX_H_

#if !defined(_WIN32)
#include <mutex>
#endif

namespace units {
namespace platform {

#if defined(_WIN32)
class WriterMutex {
 public:
  constexpr WriterMutex() = default;
  WriterMutex(const WriterMutex&) = delete;
  WriterMutex& operator=(const WriterMutex&) = delete;

  void lock();
  bool try_lock();
  void unlock();

 private:
  void* lock_ = nullptr;  // an SRWLOCK: one pointer, null when free
};
#else
using WriterMutex = std::mutex;
#endif

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_WRITER_MUTEX_H_
