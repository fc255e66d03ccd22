// The lists hosts build their pick lists from. Every result array is owned by
// the caller and released with UnitDeleteArray (or UnitDeletePtr for the
// number arrays).
#ifndef UNITS_SERVICE_ENUMERATIONS_H_
#define UNITS_SERVICE_ENUMERATIONS_H_

#include <cstdint>

#include "service/view.h"
#include "units.h"

namespace units {

// Enabled quantities only, without subquantities; null when there is none.
t_unitquantity* ListQuantities(const View& view, int* count);
// Active variants of one quantity, or one bare-quantity record; null when the
// quantity does not exist.
t_unitquantity* ListSubQuantities(const View& view, uint16_t quantity, int* count);
// The group query with "All quantities", with or without the select list.
t_unitquantity* ListAllQuantities(const View& view, bool use_select_list, int* count);

// The unrestricted query as five parallel malloc'd arrays.
struct NumberArrays {
  unsigned short* devices = nullptr;
  unsigned short* quantities = nullptr;
  int* subquantities = nullptr;
  unsigned short* indexes = nullptr;
  unsigned long* flags = nullptr;
  int count = 0;
};
// False, with all arrays null, when the query gives nothing; throws
// std::bad_alloc, with nothing allocated, when memory fails.
bool ListAsNumberArrays(const View& view, NumberArrays* arrays);

}  // namespace units

#endif  // UNITS_SERVICE_ENUMERATIONS_H_
