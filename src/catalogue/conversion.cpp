#include "catalogue/conversion.h"

#include <cstdio>
#include <cstring>
#include <functional>

#include "catalogue/catalogue.h"
#include "catalogue/conversion_kernels.h"
#include "module/module_state.h"

namespace units {

namespace {

// A log line that cannot be written (no memory, no file) is left out; the
// conversion itself is unaffected.
void WriteConversionLog(Direction direction, uint16_t quantity, bool ok) noexcept {
  if (!Module().conversion_log) return;
  std::FILE* file = nullptr;
  try {
    file = std::fopen((LogFolder() + "KEY.LOG").c_str(), "a");
  } catch (...) {
    return;
  }
  if (file == nullptr) return;
  std::fprintf(file, direction == Direction::kToCurrent ? "ToCurrent(%i) : %s\n" : "ToBase(%i) : %s\n",
               static_cast<int>(quantity), ok ? "OK" : "Fail");
  std::fclose(file);
}

bool Overlap(const double* a, const double* b, size_t count) {
  std::less<const double*> before;
  return before(a, b + count) && before(b, a + count);
}

// Arrays that overlap without being the same array are converted element by
// element in order, as if each element were copied to the output first and
// converted there.
void ConvertOverlapping(Direction direction, const double* input, double* output, size_t count, double factor,
                        double offset, bool absolute) {
  for (size_t i = 0; i < count; ++i) output[i] = ConvertValue(direction, input[i], factor, offset, absolute);
}

void ConvertArray(Direction direction, const double* input, double* output, size_t count, double factor,
                  double offset, bool absolute) {
  // A single value skips the vector dispatch.
  if (count == 1 || (input != output && Overlap(input, output, count))) {
    ConvertOverlapping(direction, input, output, count, factor, offset, absolute);
  } else if (direction == Direction::kToCurrent) {
    absolute ? kernels::MultiplyAdd(input, output, count, factor, offset)
             : kernels::Multiply(input, output, count, factor);
  } else {
    absolute ? kernels::SubtractDivide(input, output, count, offset, factor)
             : kernels::Divide(input, output, count, factor);
  }
}

}  // namespace

bool Convert(Direction direction, uint16_t quantity, const double* input, double* output, int32_t count,
             bool absolute) noexcept {
  const t_quantity* record = FindQuantity(quantity);
  if (record != nullptr && count > 0) {
    const t_quantityunit& unit = CurrentUnit(*record);
    ConvertArray(direction, input, output, static_cast<size_t>(count), unit.dFactor, unit.dOffset, absolute);
  }
  WriteConversionLog(direction, quantity, record != nullptr);
  return record != nullptr;
}

bool FindUnitFactors(uint16_t quantity, const char* unit_text, double* factor, double* offset) {
  const t_quantity* record = FindQuantity(quantity);
  if (record == nullptr || unit_text == nullptr) return false;
  // A text as long as the field or longer can equal no unit text.
  if (strnlen(unit_text, kSymbolWidth) >= kSymbolWidth) return false;
  for (const t_quantityunit& unit : record->aUnit) {
    if ((unit.wState & kUnitDefined) && std::strcmp(unit.szText, unit_text) == 0) {
      *factor = unit.dFactor;
      *offset = unit.dOffset;
      return true;
    }
  }
  return false;
}

}  // namespace units

