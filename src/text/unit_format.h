// The axis-label format: 0..3 chooses how a symbol and its unit are joined.
#ifndef UNITS_TEXT_UNIT_FORMAT_H_
#define UNITS_TEXT_UNIT_FORMAT_H_

#include <cstdint>

namespace units {

int32_t UnitFormat();
void SetUnitFormat(int32_t format);

}  // namespace units

#endif  // UNITS_TEXT_UNIT_FORMAT_H_
