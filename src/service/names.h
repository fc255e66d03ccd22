// Names and symbols of quantities, subquantities and their device/index
// variants, as UnitGetName and UnitGetSymbol hand them to hosts.
#ifndef UNITS_SERVICE_NAMES_H_
#define UNITS_SERVICE_NAMES_H_

#include <cstdint>

#include "service/text_buffers.h"
#include "service/view.h"

namespace units {

// Results are "(?)" or lie in this thread's text buffers (service/text_buffers.h).
const char* QuantityName(const View& view, uint16_t quantity, int16_t subquantity, uint32_t flags, uint16_t device,
                         uint16_t index);
const char* QuantitySymbol(const View& view, uint16_t quantity, int16_t subquantity, uint32_t flags,
                           uint16_t device, uint16_t index, bool exact);

}  // namespace units

#endif  // UNITS_SERVICE_NAMES_H_
