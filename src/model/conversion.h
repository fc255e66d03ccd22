// Conversion between a quantity's base unit and its current display unit.
//
//   to current:  absolute  (x * factor) + offset    relative  x * factor
//   to base:     absolute  (x - offset) / factor    relative  x / factor
//
// Each step is rounded to double on its own (the library is built without
// contraction into fused multiply-add), so results are the same on every
// machine and in every vector width.
#ifndef UNITS_MODEL_CONVERSION_H_
#define UNITS_MODEL_CONVERSION_H_

#include <cstddef>
#include <cstdint>

#include "model/quantity.h"

namespace units {

enum class Direction { kToCurrent, kToBase };

// One value. The relative forms leave the offset out rather than add 0:
// adding +0 would turn a product of -0 into +0.
inline double ConvertValue(Direction direction, double value, double factor, double offset, bool absolute) {
  if (direction == Direction::kToCurrent) {
    const double product = value * factor;
    return absolute ? product + offset : product;
  }
  const double difference = absolute ? value - offset : value;
  return difference / factor;
}

// `count` values of `input` into `output`, which may be the same array.
// Arrays that overlap otherwise are converted one element after the other
// from the first, each from what `input` holds at that moment (so an output
// that starts after the input converts some results again).
void ConvertValues(Direction direction, const double* input, double* output, size_t count, double factor,
                   double offset, bool absolute) noexcept;

// Factor and offset of the first defined unit whose text equals `unit_text`
// byte for byte.
bool FindUnitFactors(const t_quantity& quantity, const char* unit_text, double* factor, double* offset);

}  // namespace units

#endif  // UNITS_MODEL_CONVERSION_H_
