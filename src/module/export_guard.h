// The boundary between hosts and the library: no exception crosses it, and a
// library whose configuration refused the load answers every call with the
// call's failure result.
#ifndef UNITS_MODULE_EXPORT_GUARD_H_
#define UNITS_MODULE_EXPORT_GUARD_H_

#include "module/module_state.h"

namespace units {

template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  if (Module().refused) return failure;
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace units

#endif  // UNITS_MODULE_EXPORT_GUARD_H_
