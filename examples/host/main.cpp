// A small host: lists the quantities the library offers, with their display
// units, and converts an array of pressures from the base unit (Pa) into the
// display unit of quantity 5.
#include <cstdio>

#include "units.h"

int main() {
  t_unitquantity* list = nullptr;
  int count = 0;
  if (!UnitGetQuantities(list, count)) {
    std::fprintf(stderr, "the library offers no quantities\n");
    return 1;
  }
  for (int i = 0; i < count; ++i) {
    std::printf("%3u  %-24s %s\n", list[i].wQuantity, list[i].szName, UnitGetUnitText(list[i].wQuantity));
  }
  UnitDeleteArray(list);

  const unsigned short pressure = 5;
  const double pascal[] = {101325.0, 200000.0, 0.0};
  double shown[3];
  if (!UnitGetCurrent(pressure, pascal, shown, 3)) {
    std::fprintf(stderr, "quantity %u is not in the catalogue\n", pressure);
    return 1;
  }
  for (int i = 0; i < 3; ++i) std::printf("%g Pa = %g %s\n", pascal[i], shown[i], UnitGetUnitText(pressure));
  return 0;
}
