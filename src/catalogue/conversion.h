// Conversion between a quantity's base unit and its current display unit.
//
//   to current:  absolute  (x * factor) + offset    relative  x * factor
//   to base:     absolute  (x - offset) / factor    relative  x / factor
//
// Each step is rounded to double on its own (the library is built without
// contraction into fused multiply-add), so results are the same on every
// machine and in every vector width.
#ifndef UNITS_CATALOGUE_CONVERSION_H_
#define UNITS_CATALOGUE_CONVERSION_H_

#include <cstdint>

namespace units {

enum class Direction { kToCurrent, kToBase };

// Converts `count` values of `input` into `output` with the current unit of
// the quantity; `input` and `output` may be the same array. False, with
// nothing written, when the quantity does not exist. Writes one line to the
// conversion log when it is switched on.
bool Convert(Direction direction, uint16_t quantity, const double* input, double* output, int32_t count,
             bool absolute);

// The workers the interface is specified with.
inline bool ToCurrent(uint16_t quantity, const double* input, double* output, int32_t count, bool absolute) {
  return Convert(Direction::kToCurrent, quantity, input, output, count, absolute);
}
inline bool ToBase(uint16_t quantity, const double* input, double* output, int32_t count, bool absolute) {
  return Convert(Direction::kToBase, quantity, input, output, count, absolute);
}

// Factor and offset of the first defined unit whose text equals `unit_text`.
bool FindUnitFactors(uint16_t quantity, const char* unit_text, double* factor, double* offset);

}  // namespace units

#endif  // UNITS_CATALOGUE_CONVERSION_H_
