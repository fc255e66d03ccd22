#include "reference_loops.h"

namespace units {
namespace bench {

// Plain loops with no attributes or hints: whatever -O3 -march=native makes
// of them is the speed a host gets without the library. Contraction is off
// here too, so they round each step exactly as the library does.

void ReferenceMultiplyAdd(const double* in, double* out, size_t count, double factor, double offset) {
  for (size_t i = 0; i < count; ++i) out[i] = in[i] * factor + offset;
}

void ReferenceMultiply(const double* in, double* out, size_t count, double factor) {
  for (size_t i = 0; i < count; ++i) out[i] = in[i] * factor;
}

void ReferenceSubtractDivide(const double* in, double* out, size_t count, double offset, double factor) {
  for (size_t i = 0; i < count; ++i) out[i] = (in[i] - offset) / factor;
}

void ReferenceDivide(const double* in, double* out, size_t count, double factor) {
  for (size_t i = 0; i < count; ++i) out[i] = in[i] / factor;
}

void ReferenceMultiplyAddInPlace(double* values, size_t count, double factor, double offset) {
  for (size_t i = 0; i < count; ++i) values[i] = values[i] * factor + offset;
}

void ReferenceMultiplyInPlace(double* values, size_t count, double factor) {
  for (size_t i = 0; i < count; ++i) values[i] = values[i] * factor;
}

void ReferenceSubtractDivideInPlace(double* values, size_t count, double offset, double factor) {
  for (size_t i = 0; i < count; ++i) values[i] = (values[i] - offset) / factor;
}

void ReferenceDivideInPlace(double* values, size_t count, double factor) {
  for (size_t i = 0; i < count; ++i) values[i] = values[i] / factor;
}

}  // namespace bench
}  // namespace units
