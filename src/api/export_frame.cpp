// Rights, module values, text mode and the release of handed-out memory.
#include <cstdlib>

#include "api/export_guard.h"
#include "units.h"

void* _UnitMainDlg = nullptr;
void* _EditQuantityDlg = nullptr;
void* _EditSubQuantityDlg = nullptr;
void* _UnitSelectDlg = nullptr;
void* _EditUnitDlg = nullptr;

using units::Guarded;
using units::TheService;

bool UnitHasPrivilege(unsigned long mask) {
  return Guarded(false, [&] { return TheService().HasPrivilege(static_cast<uint32_t>(mask)); });
}

bool UnitSetValue(unsigned short key, void* value, unsigned long size) {
  return Guarded(false, [&] { return TheService().SetValue(key, value, size); });
}

unsigned short UnitSetTextMode(unsigned char on) {
  return Guarded<unsigned short>(0, [&] { return TheService().SetTextMode(on != 0 ? units::kTextMode : units::kSymbolMode); });
}

bool UnitGetTextMode() {
  return Guarded(false, [] { return TheService().TextMode() == units::kTextMode; });
}

unsigned short UnitGetMode(const unsigned short which) {
  return Guarded<unsigned short>(0xFFFF, [&] { return which == 1 ? TheService().TextMode() : 0xFFFF; });
}

// Plain number arrays are handed out as malloc blocks.
bool UnitDeletePtr(void* p) {
  std::free(p);
  return true;
}

bool UnitDeleteArray(void* p) {
  delete[] static_cast<t_unitquantity*>(p);
  return true;
}
