// The boundary between hosts and the library: no exception crosses it, and a
// library whose configuration refused the load answers every call with the
// call's failure result.
#ifndef UNITS_API_EXPORT_GUARD_H_
#define UNITS_API_EXPORT_GUARD_H_

#include <stdexcept>

#include "service/service.h"

namespace units {

template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  const Service& service = TheService();
  if (service.refused()) return failure;
  try {
    if (service.fail_exports()) throw std::runtime_error("export failure forced by a test");
    return body();
  } catch (...) {
    return failure;
  }
}

// A reading export: the guard, then `read(view)` inside a read section.
template <typename Result, typename Read>
Result GuardedRead(Result failure, Read&& read) noexcept {
  return Guarded(failure, [&] { return TheService().Reading(failure, read); });
}

}  // namespace units

#endif  // UNITS_API_EXPORT_GUARD_H_
