// Filling the records that enumerations hand to hosts: translated names and
// composed symbols, cut to fit their fields.
#ifndef UNITS_SERVICE_ENUMERATION_RECORDS_H_
#define UNITS_SERVICE_ENUMERATION_RECORDS_H_

#include <cstdint>

#include "model/quantity.h"
#include "units.h"

namespace units {

// Kind bits of a bare quantity in the subquantity and group lists.
constexpr uint16_t kBareKind = 0x1000;

// The quantity itself: subquantity 0, no device or index.
void FillBareQuantity(t_unitquantity* record, const t_quantity& quantity, uint16_t kind, uint32_t flags,
                      uint16_t text_mode);

// One variant of a slot: its numbers, its translated name (without device or
// index) and its display symbol with the device/index part.
void FillVariant(t_unitquantity* record, const t_quantity& quantity, const t_subquantity& slot, uint16_t device,
                 uint16_t index, uint16_t text_mode);

}  // namespace units

#endif  // UNITS_SERVICE_ENUMERATION_RECORDS_H_
