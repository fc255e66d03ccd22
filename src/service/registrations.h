// Device registrations: the device/index pairs of a subquantity slot that
// turn one subquantity into several selectable variants. A slot without
// pairs stands for device 0, index 0 alone.
#ifndef UNITS_SERVICE_REGISTRATIONS_H_
#define UNITS_SERVICE_REGISTRATIONS_H_

#include <cstdint>
#include <memory>

#include "model/catalogue.h"

namespace units {

bool ExistQuantity(const Catalogue& catalogue, uint16_t quantity, int32_t subquantity, uint32_t flags,
                   uint16_t device, uint16_t index);

// The catalogue with the registration added to the first slot with this
// number and flags that has room; it shares every record but the changed
// one. Null when the registration existed already or found no room.
std::shared_ptr<const Catalogue> WithDeviceIndex(const Catalogue& catalogue, uint16_t quantity,
                                                 int32_t subquantity, uint32_t flags, uint16_t device,
                                                 uint16_t index);

}  // namespace units

#endif  // UNITS_SERVICE_REGISTRATIONS_H_
