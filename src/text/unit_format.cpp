#include "text/unit_format.h"

namespace units {

namespace {
int32_t g_lUnitFormat = 0;
}  // namespace

int32_t UnitFormat() { return g_lUnitFormat; }
void SetUnitFormat(int32_t format) { g_lUnitFormat = format; }

}  // namespace units
