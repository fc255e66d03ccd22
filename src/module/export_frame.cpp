// Rights, module values, text mode and the release of handed-out memory.
#include <cstdlib>
#include <cstring>

#include "catalogue/catalogue.h"
#include "module/export_guard.h"
#include "module/module_state.h"
#include "module/settings_values.h"
#include "units.h"

void* _UnitMainDlg = nullptr;
void* _EditQuantityDlg = nullptr;
void* _EditSubQuantityDlg = nullptr;
void* _UnitSelectDlg = nullptr;
void* _EditUnitDlg = nullptr;

using units::Guarded;

bool UnitHasPrivilege(unsigned long mask) {
  return Guarded(false, [&] { return (units::Module().privilege_mask & mask) != 0; });
}

bool UnitSetValue(unsigned short key, void* value, unsigned long size) {
  return Guarded(false, [&] { return units::SetModuleValue(key, value, size); });
}

unsigned short UnitSetTextMode(unsigned char on) {
  return Guarded<unsigned short>(0, [&] {
    units::SetTextMode(on != 0 ? 1 : 0);
    return units::TextMode();
  });
}

bool UnitGetTextMode() {
  return Guarded(false, [] { return units::TextMode() == 1; });
}

unsigned short UnitGetMode(const unsigned short which) {
  return Guarded<unsigned short>(0xFFFF, [&] { return which == 1 ? units::TextMode() : 0xFFFF; });
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
