// The array loops of the conversion, compiled for several vector widths and
// chosen at run time, so one library binary runs on any x86-64 and still uses
// the widest vectors the machine has.
#ifndef UNITS_MODEL_CONVERSION_KERNELS_H_
#define UNITS_MODEL_CONVERSION_KERNELS_H_

#include <cstddef>

namespace units {
namespace kernels {

// REQUIRES: `input` and `output` are the same array or do not overlap.
void MultiplyAdd(const double* input, double* output, size_t count, double factor, double offset);
void Multiply(const double* input, double* output, size_t count, double factor);
void SubtractDivide(const double* input, double* output, size_t count, double offset, double factor);
void Divide(const double* input, double* output, size_t count, double factor);

}  // namespace kernels
}  // namespace units

#endif  // UNITS_MODEL_CONVERSION_KERNELS_H_
