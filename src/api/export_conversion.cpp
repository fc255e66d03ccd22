// Single values and arrays between base unit and current display unit.
#include "api/export_guard.h"
#include "model/conversion.h"
#include "units.h"

namespace {

using units::Direction;
using units::TheService;

// The conversion never throws, so these need no exception guard: single
// values are converted for every displayed number and must stay cheap. An
// inert library has nothing published, so they fail there too.
inline bool ConvertFloat(Direction direction, bool absolute, unsigned short quantity, float value,
                         float& result) noexcept {
  double out = 0.0;
  if (!TheService().Convert(direction, quantity, value, &out, absolute)) return false;
  result = static_cast<float>(out);
  return true;
}

inline bool ConvertDouble(Direction direction, bool absolute, unsigned short quantity, double value,
                          double& result) noexcept {
  return TheService().Convert(direction, quantity, value, &result, absolute);
}

inline bool ConvertArray(Direction direction, bool absolute, unsigned short quantity, const double* values,
                         double* results, int count) noexcept {
  // Null arrays are only acceptable when nothing is to be converted.
  if (count > 0 && (values == nullptr || results == nullptr)) return false;
  return TheService().ConvertArray(direction, quantity, values, results, count, absolute);
}

constexpr Direction kCurrent = Direction::kToCurrent;
constexpr Direction kBase = Direction::kToBase;

}  // namespace

bool UnitGetCurrent(const unsigned short q, const float v, float& r) { return ConvertFloat(kCurrent, true, q, v, r); }
bool UnitGetCurrent(const unsigned short q, const double v, double& r) {
  return ConvertDouble(kCurrent, true, q, v, r);
}
bool UnitGetCurrent(const unsigned short q, const double* const v, double* r, int n) {
  return ConvertArray(kCurrent, true, q, v, r, n);
}

bool UnitGetCurrentRel(const unsigned short q, const float v, float& r) {
  return ConvertFloat(kCurrent, false, q, v, r);
}
bool UnitGetCurrentRel(const unsigned short q, const double v, double& r) {
  return ConvertDouble(kCurrent, false, q, v, r);
}
bool UnitGetCurrentRel(const unsigned short q, const double* const v, double* r, int n) {
  return ConvertArray(kCurrent, false, q, v, r, n);
}

bool UnitGetBase(const unsigned short q, const float v, float& r) { return ConvertFloat(kBase, true, q, v, r); }
bool UnitGetBase(const unsigned short q, const double v, double& r) { return ConvertDouble(kBase, true, q, v, r); }
bool UnitGetBase(const unsigned short q, const double* const v, double* r, int n) {
  return ConvertArray(kBase, true, q, v, r, n);
}

bool UnitGetBaseRel(const unsigned short q, const float v, float& r) { return ConvertFloat(kBase, false, q, v, r); }
bool UnitGetBaseRel(const unsigned short q, const double v, double& r) {
  return ConvertDouble(kBase, false, q, v, r);
}
bool UnitGetBaseRel(const unsigned short q, const double* const v, double* r, int n) {
  return ConvertArray(kBase, false, q, v, r, n);
}

bool UnitGetFactors(const unsigned short quantity, const char* const unit, float& factor, float& offset) {
  return units::GuardedRead(false, [&](const units::View& view) {
    const t_quantity* record = view.catalogue->Find(quantity);
    double f = 0.0, o = 0.0;
    if (record == nullptr || !units::FindUnitFactors(*record, unit, &f, &o)) return false;
    factor = static_cast<float>(f);
    offset = static_cast<float>(o);
    return true;
  });
}
