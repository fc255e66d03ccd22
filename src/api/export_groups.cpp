// The group list and the current group index.
#include "api/export_guard.h"
#include "units.h"

using units::View;

int UnitGetFilterIndex() {
  return units::Guarded(0, [] { return units::TheService().GroupIndex(); });
}

bool UnitSetFilterIndex(int index) {
  return units::Guarded(false, [&] { return units::TheService().SetGroupIndex(index); });
}

int UnitGetFilterEntries(char* buffer, unsigned long size) {
  return units::GuardedRead(0, [&](const View& view) { return units::WriteGroupNames(*view.groups, buffer, size); });
}
