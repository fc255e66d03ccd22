// Unit texts of a quantity and the unit part of axis labels in the four
// unit formats: 0 "t in s", 1 "t / s", 2 "t / (s)", 3 "t [s]".
#ifndef UNITS_SERVICE_UNIT_TEXTS_H_
#define UNITS_SERVICE_UNIT_TEXTS_H_

#include <cstdint>

#include "service/view.h"

namespace units {

// Copies in this thread's text buffers, or "(?)" for an unknown quantity.
const char* CurrentUnitText(const View& view, uint16_t quantity);
const char* BaseUnitText(const View& view, uint16_t quantity);
// The unit part in the current format; empty for an empty unit text or an
// unknown format; "(?)" for an unknown quantity.
const char* UnitTextInFormat(const View& view, uint16_t quantity);
// Prefix (part 0) or suffix (any other part) of the current format. An
// unknown format leaves both as this thread's previous call made them.
const char* UnitFormatPart(const View& view, int part);
// All defined unit texts as NUL-terminated strings closed by one more NUL;
// the list needs one byte beyond its own length. False for an unknown
// quantity, a list that does not fit whole, or no text.
bool AllUnitTexts(const View& view, uint16_t quantity, char* buffer, unsigned long size);

}  // namespace units

#endif  // UNITS_SERVICE_UNIT_TEXTS_H_
