// The group list and the current group index.
#include "groups/group_model.h"
#include "module/export_guard.h"
#include "units.h"

using units::Guarded;

int UnitGetFilterIndex() {
  return Guarded(0, [] { return units::TheGroups().CurrentIndex(); });
}

bool UnitSetFilterIndex(int index) {
  return Guarded(false, [&] { return units::TheGroups().SetCurrentIndex(index); });
}

int UnitGetFilterEntries(char* buffer, unsigned long size) {
  return Guarded(0, [&] { return units::WriteGroupNames(buffer, size); });
}
