// Names and symbols of quantities, subquantities and their device/index
// variants, as UnitGetName and UnitGetSymbol hand them to hosts.
#ifndef UNITS_TEXT_NAMES_H_
#define UNITS_TEXT_NAMES_H_

#include <cstddef>
#include <cstdint>

namespace units {

constexpr const char* kUnknownText = "(?)";
// Room for a 40-byte name or 20-byte symbol, a translated device name and an
// index; longer compositions are cut at a character boundary.
constexpr size_t kComposedTextSize = 256;

// Results point into a static buffer (overwritten by the next call of the
// same function), into a catalogue record, or at a constant.
const char* QuantityName(uint16_t quantity, int16_t subquantity, uint32_t flags, uint16_t device, uint16_t index);
const char* QuantitySymbol(uint16_t quantity, int16_t subquantity, uint32_t flags, uint16_t device, uint16_t index,
                           bool exact);

}  // namespace units

#endif  // UNITS_TEXT_NAMES_H_
