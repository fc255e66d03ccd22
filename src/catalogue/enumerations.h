// The lists hosts build their pick lists from. Every result array is owned by
// the caller and released with UnitDeleteArray (or UnitDeletePtr for the
// number arrays).
#ifndef UNITS_CATALOGUE_ENUMERATIONS_H_
#define UNITS_CATALOGUE_ENUMERATIONS_H_

#include <cstdint>

#include "units.h"

namespace units {

// Enabled quantities only, without subquantities; null when there is none.
t_unitquantity* ListQuantities(int* count);
// Active variants of one quantity, or one bare-quantity record; null when the
// quantity does not exist.
t_unitquantity* ListSubQuantities(uint16_t quantity, int* count);
// The group query with "All quantities", with or without the select list.
t_unitquantity* ListAllQuantities(bool use_select_list, int* count);

// The unrestricted query as five parallel malloc'd arrays.
struct NumberArrays {
  unsigned short* devices = nullptr;
  unsigned short* quantities = nullptr;
  int* subquantities = nullptr;
  unsigned short* indexes = nullptr;
  unsigned long* flags = nullptr;
  int count = 0;
};
// False, with all arrays null, when the query gives nothing or memory fails.
bool ListAsNumberArrays(NumberArrays* arrays);

}  // namespace units

#endif  // UNITS_CATALOGUE_ENUMERATIONS_H_
