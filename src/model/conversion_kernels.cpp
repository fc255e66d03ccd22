#include "model/conversion_kernels.h"

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define UNITS_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define UNITS_VECTOR_CLONES
#endif

namespace units {
namespace kernels {

// Each loop has an in-place and a disjoint form: with `__restrict` and the
// factor and offset in locals the compiler vectorises without alias checks.

namespace {

UNITS_VECTOR_CLONES void MultiplyAddInPlace(double* values, size_t count, double factor, double offset) {
  for (size_t i = 0; i < count; ++i) {
    const double product = values[i] * factor;
    values[i] = product + offset;
  }
}

UNITS_VECTOR_CLONES void MultiplyAddApart(const double* __restrict input, double* __restrict output, size_t count,
                                          double factor, double offset) {
  for (size_t i = 0; i < count; ++i) {
    const double product = input[i] * factor;
    output[i] = product + offset;
  }
}

UNITS_VECTOR_CLONES void MultiplyInPlace(double* values, size_t count, double factor) {
  for (size_t i = 0; i < count; ++i) values[i] = values[i] * factor;
}

UNITS_VECTOR_CLONES void MultiplyApart(const double* __restrict input, double* __restrict output, size_t count,
                                       double factor) {
  for (size_t i = 0; i < count; ++i) output[i] = input[i] * factor;
}

UNITS_VECTOR_CLONES void SubtractDivideInPlace(double* values, size_t count, double offset, double factor) {
  for (size_t i = 0; i < count; ++i) {
    const double difference = values[i] - offset;
    values[i] = difference / factor;
  }
}

UNITS_VECTOR_CLONES void SubtractDivideApart(const double* __restrict input, double* __restrict output,
                                             size_t count, double offset, double factor) {
  for (size_t i = 0; i < count; ++i) {
    const double difference = input[i] - offset;
    output[i] = difference / factor;
  }
}

UNITS_VECTOR_CLONES void DivideInPlace(double* values, size_t count, double factor) {
  for (size_t i = 0; i < count; ++i) values[i] = values[i] / factor;
}

UNITS_VECTOR_CLONES void DivideApart(const double* __restrict input, double* __restrict output, size_t count,
                                     double factor) {
  for (size_t i = 0; i < count; ++i) output[i] = input[i] / factor;
}

}  // namespace

void MultiplyAdd(const double* input, double* output, size_t count, double factor, double offset) {
  if (input == output) {
    MultiplyAddInPlace(output, count, factor, offset);
  } else {
    MultiplyAddApart(input, output, count, factor, offset);
  }
}

void Multiply(const double* input, double* output, size_t count, double factor) {
  if (input == output) {
    MultiplyInPlace(output, count, factor);
  } else {
    MultiplyApart(input, output, count, factor);
  }
}

void SubtractDivide(const double* input, double* output, size_t count, double offset, double factor) {
  if (input == output) {
    SubtractDivideInPlace(output, count, offset, factor);
  } else {
    SubtractDivideApart(input, output, count, offset, factor);
  }
}

void Divide(const double* input, double* output, size_t count, double factor) {
  if (input == output) {
    DivideInPlace(output, count, factor);
  } else {
    DivideApart(input, output, count, factor);
  }
}

}  // namespace kernels
}  // namespace units
