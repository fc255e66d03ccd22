#include "platform/writer_mutex.h"

#include <windows.h>

namespace units {
namespace platform {

static_assert(sizeof(SRWLOCK) == sizeof(void*), "an SRWLOCK is one pointer");

void WriterMutex::lock() { AcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&lock_)); }
bool WriterMutex::try_lock() { return TryAcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&lock_)) != 0; }
void WriterMutex::unlock() { ReleaseSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&lock_)); }

}  // namespace platform
}  // namespace units
