// Unit texts of a quantity and the unit part of axis labels in the four
// unit formats: 0 "t in s", 1 "t / s", 2 "t / (s)", 3 "t [s]".
#ifndef UNITS_TEXT_UNIT_TEXTS_H_
#define UNITS_TEXT_UNIT_TEXTS_H_

#include <cstddef>
#include <cstdint>

namespace units {

// Pointers into the record (valid until the catalogue is replaced), or "(?)".
const char* CurrentUnitText(uint16_t quantity);
const char* BaseUnitText(uint16_t quantity);
// The unit part in the current format; empty for an empty unit text or an
// unknown format; "(?)" for an unknown quantity. Static buffer.
const char* UnitTextInFormat(uint16_t quantity);
// Prefix (part 0) or suffix (any other part) of the current format. An
// unknown format leaves both as the previous call made them.
const char* UnitFormatPart(int part);
// All defined unit texts as NUL-terminated strings closed by one more NUL.
// False for an unknown quantity, a list that does not fit whole, or no text.
bool AllUnitTexts(uint16_t quantity, char* buffer, unsigned long size);

}  // namespace units

#endif  // UNITS_TEXT_UNIT_TEXTS_H_
