// Device registrations: the device/index pairs of a subquantity slot that
// turn one subquantity into several selectable variants. A slot without
// pairs stands for device 0, index 0 alone.
#ifndef UNITS_CATALOGUE_REGISTRATIONS_H_
#define UNITS_CATALOGUE_REGISTRATIONS_H_

#include <cstdint>

#include "catalogue/quantity.h"

namespace units {

bool ExistQuantity(uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device, uint16_t index);

// Adds the registration to the first slot with this number and flags that
// has room, and saves. False when it existed already or found no room.
bool AddDeviceIndex(uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device, uint16_t index);

// The first record with this identifier that has a slot (defined or not)
// with this number and flags.
t_quantity* FindQuantityWithSubQuantity(uint16_t quantity, int32_t subquantity, uint32_t flags);

}  // namespace units

#endif  // UNITS_CATALOGUE_REGISTRATIONS_H_
