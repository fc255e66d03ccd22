#include "model/conversion.h"

#include <cstring>
#include <functional>

#include "model/conversion_kernels.h"

namespace units {

namespace {

bool Overlap(const double* a, const double* b, size_t count) {
  std::less<const double*> before;
  return before(a, b + count) && before(b, a + count);
}

// Overlapping arrays: element by element from the first, so that every
// element is read before or after its write in a fixed, defined order.
void ConvertInOrder(Direction direction, const double* input, double* output, size_t count, double factor,
                    double offset, bool absolute) {
  for (size_t i = 0; i < count; ++i) output[i] = ConvertValue(direction, input[i], factor, offset, absolute);
}

}  // namespace

void ConvertValues(Direction direction, const double* input, double* output, size_t count, double factor,
                   double offset, bool absolute) noexcept {
  // A single value skips the vector dispatch.
  if (count == 1 || (input != output && Overlap(input, output, count))) {
    ConvertInOrder(direction, input, output, count, factor, offset, absolute);
  } else if (direction == Direction::kToCurrent) {
    absolute ? kernels::MultiplyAdd(input, output, count, factor, offset)
             : kernels::Multiply(input, output, count, factor);
  } else {
    absolute ? kernels::SubtractDivide(input, output, count, offset, factor)
             : kernels::Divide(input, output, count, factor);
  }
}

bool FindUnitFactors(const t_quantity& quantity, const char* unit_text, double* factor, double* offset) {
  if (unit_text == nullptr) return false;
  // A text as long as the field or longer can equal no unit text.
  if (strnlen(unit_text, kSymbolWidth) >= kSymbolWidth) return false;
  for (const t_quantityunit& unit : quantity.aUnit) {
    if ((unit.wState & kUnitDefined) && std::strcmp(unit.szText, unit_text) == 0) {
      *factor = unit.dFactor;
      *offset = unit.dOffset;
      return true;
    }
  }
  return false;
}

}  // namespace units
