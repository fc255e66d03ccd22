// UDUNITS-2 as the point of comparison of the conversion benchmarks: its
// converters between degree_Celsius and degree_Fahrenheit.
#ifndef UNITS_BENCH_UDUNITS_REFERENCE_H_
#define UNITS_BENCH_UDUNITS_REFERENCE_H_

#include <udunits2.h>

#include <string>

struct Udunits {
  ut_system* system = nullptr;
  ut_unit* celsius = nullptr;
  ut_unit* fahrenheit = nullptr;
  cv_converter* to_fahrenheit = nullptr;
  cv_converter* to_celsius = nullptr;
  std::string error;  // why the converters are missing
};

Udunits& TheUdunits();
// Reads the unit database and makes both converters; on failure sets error.
void OpenUdunits();
void CloseUdunits();
// The converter, or null when OpenUdunits failed.
const cv_converter* UdunitsConverter(bool to_fahrenheit);

#endif  // UNITS_BENCH_UDUNITS_REFERENCE_H_
