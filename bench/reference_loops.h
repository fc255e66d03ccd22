// The loops a host would write by hand for the four conversions, built in
// their own translation unit for this machine (see CMakeLists.txt) so that
// they are the yardstick for the library's array conversion. Factor and
// offset are arguments, never constants the compiler could fold in.
#ifndef UNITS_BENCH_REFERENCE_LOOPS_H_
#define UNITS_BENCH_REFERENCE_LOOPS_H_

#include <cstddef>

namespace units {
namespace bench {

// out[i] = in[i] * factor + offset, and so on; `in` and `out` may be the same
// array. The *InPlace forms take one array, as an in-place host loop would.
void ReferenceMultiplyAdd(const double* in, double* out, size_t count, double factor, double offset);
void ReferenceMultiply(const double* in, double* out, size_t count, double factor);
void ReferenceSubtractDivide(const double* in, double* out, size_t count, double offset, double factor);
void ReferenceDivide(const double* in, double* out, size_t count, double factor);

void ReferenceMultiplyAddInPlace(double* values, size_t count, double factor, double offset);
void ReferenceMultiplyInPlace(double* values, size_t count, double factor);
void ReferenceSubtractDivideInPlace(double* values, size_t count, double offset, double factor);
void ReferenceDivideInPlace(double* values, size_t count, double factor);

}  // namespace bench
}  // namespace units

#endif  // UNITS_BENCH_REFERENCE_LOOPS_H_
