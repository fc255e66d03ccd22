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

#include "catalogue/catalogue.h"
#include "module/module_state.h"

namespace units {

enum class Direction { kToCurrent, kToBase };

// Converts `count` values of `input` into `output` with the current unit of
// the quantity; `input` and `output` may be the same array. False, with
// nothing written, when the quantity does not exist. Writes one line to the
// conversion log when it is switched on. Never throws, so the interface can
// call it without a guard.
bool Convert(Direction direction, uint16_t quantity, const double* input, double* output, int32_t count,
             bool absolute) noexcept;

// The workers the interface is specified with.
inline bool ToCurrent(uint16_t quantity, const double* input, double* output, int32_t count, bool absolute) {
  return Convert(Direction::kToCurrent, quantity, input, output, count, absolute);
}
inline bool ToBase(uint16_t quantity, const double* input, double* output, int32_t count, bool absolute) {
  return Convert(Direction::kToBase, quantity, input, output, count, absolute);
}

// One value in the current unit. The relative forms leave the offset out
// rather than add 0: adding +0 would turn a product of -0 into +0.
inline double ConvertValue(Direction direction, double value, double factor, double offset, bool absolute) {
  if (direction == Direction::kToCurrent) {
    const double product = value * factor;
    return absolute ? product + offset : product;
  }
  const double difference = absolute ? value - offset : value;
  return difference / factor;
}

// One value, as Convert with a count of 1. Inline: hosts convert every
// displayed number on its own, so this path is kept to a handful of loads.
inline bool ConvertOne(Direction direction, uint16_t quantity, double input, double* output,
                       bool absolute) noexcept {
  if (Module().conversion_log) return Convert(direction, quantity, &input, output, 1, absolute);
  const t_quantity* record = FindQuantity(quantity);
  if (record == nullptr) return false;
  const t_quantityunit& unit = CurrentUnit(*record);
  *output = ConvertValue(direction, input, unit.dFactor, unit.dOffset, absolute);
  return true;
}

// Factor and offset of the first defined unit whose text equals `unit_text`.
bool FindUnitFactors(uint16_t quantity, const char* unit_text, double* factor, double* offset);

}  // namespace units

#endif  // UNITS_CATALOGUE_CONVERSION_H_
