#include "catalogue/conversion.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>

#include "catalogue/catalogue.h"
#include "catalogue/conversion_kernels.h"
#include "module/module_state.h"

namespace units {

namespace {

// Hosts convert every displayed value on its own, so the single-value path
// reaches the catalogue and the module state without a call and runs without
// a stack frame. The slow path records where both live (they exist for the
// whole process and never move); until it has, every call takes it.
std::atomic<const Catalogue*> g_catalogue{nullptr};
std::atomic<const ModuleState*> g_module{nullptr};

void WriteConversionLog(Direction direction, uint16_t quantity, bool ok) {
  if (!Module().conversion_log) return;
  const std::string path = LogFolder() + "KEY.LOG";
  std::FILE* file = std::fopen(path.c_str(), "a");
  if (file == nullptr) return;
  std::fprintf(file, direction == Direction::kToCurrent ? "ToCurrent(%i) : %s\n" : "ToBase(%i) : %s\n",
               static_cast<int>(quantity), ok ? "OK" : "Fail");
  std::fclose(file);
}

bool Overlap(const double* a, const double* b, size_t count) {
  std::less<const double*> before;
  return before(a, b + count) && before(b, a + count);
}

// One value. The relative forms leave the offset out rather than use an
// offset of 0: adding +0 would turn a product of -0 into +0.
inline double ConvertValue(Direction direction, double value, double factor, double offset, bool absolute) {
  if (direction == Direction::kToCurrent) {
    const double product = value * factor;
    return absolute ? product + offset : product;
  }
  const double difference = absolute ? value - offset : value;
  return difference / factor;
}

// Arrays that overlap without being the same array are converted element by
// element in order, as if each element were copied to the output first and
// converted there.
void ConvertOverlapping(Direction direction, const double* input, double* output, size_t count, double factor,
                        double offset, bool absolute) {
  for (size_t i = 0; i < count; ++i) output[i] = ConvertValue(direction, input[i], factor, offset, absolute);
}

void ConvertArray(Direction direction, const double* input, double* output, size_t count, double factor,
                  double offset) {
  // Single values (the common display call) skip the vector dispatch.
  if (count == 1 || (input != output && Overlap(input, output, count))) {
    ConvertOverlapping(direction, input, output, count, factor, offset, true);
  } else if (direction == Direction::kToCurrent) {
    kernels::MultiplyAdd(input, output, count, factor, offset);
  } else {
    kernels::SubtractDivide(input, output, count, offset, factor);
  }
}

void ConvertArrayRelative(Direction direction, const double* input, double* output, size_t count, double factor) {
  if (count == 1 || (input != output && Overlap(input, output, count))) {
    ConvertOverlapping(direction, input, output, count, factor, 0.0, false);
  } else if (direction == Direction::kToCurrent) {
    kernels::Multiply(input, output, count, factor);
  } else {
    kernels::Divide(input, output, count, factor);
  }
}

// Any count, the conversion log, and the first call of all.
__attribute__((noinline)) bool ConvertSlow(Direction direction, uint16_t quantity, const double* input,
                                           double* output, int32_t count, bool absolute) {
  g_catalogue.store(&TheCatalogue(), std::memory_order_relaxed);
  g_module.store(&Module(), std::memory_order_relaxed);
  const t_quantity* record = FindQuantity(quantity);
  if (record != nullptr && count > 0) {
    const t_quantityunit& unit = CurrentUnit(*record);
    const size_t n = static_cast<size_t>(count);
    if (absolute) {
      ConvertArray(direction, input, output, n, unit.dFactor, unit.dOffset);
    } else {
      ConvertArrayRelative(direction, input, output, n, unit.dFactor);
    }
  }
  WriteConversionLog(direction, quantity, record != nullptr);
  return record != nullptr;
}

}  // namespace

bool Convert(Direction direction, uint16_t quantity, const double* input, double* output, int32_t count,
             bool absolute) {
  const Catalogue* catalogue = g_catalogue.load(std::memory_order_relaxed);
  const ModuleState* module = g_module.load(std::memory_order_relaxed);
  if (count == 1 && catalogue != nullptr && module != nullptr && !module->conversion_log) {
    const t_quantity* record = catalogue->Find(quantity);
    // A damaged unit index is left to CurrentUnit on the slow path.
    if (record != nullptr && record->dwUnit < kUnitSlots) {
      const t_quantityunit& unit = record->aUnit[record->dwUnit];
      *output = ConvertValue(direction, *input, unit.dFactor, unit.dOffset, absolute);
      return true;
    }
  }
  return ConvertSlow(direction, quantity, input, output, count, absolute);
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

