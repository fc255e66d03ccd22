// Device registrations and select lists.
#include "catalogue/registrations.h"
#include "catalogue/select_list.h"
#include "module/export_guard.h"
#include "units.h"

using units::Guarded;

bool UnitClearSelectList() {
  return Guarded(false, [] {
    units::TheSelectList().Clear(true);
    return true;
  });
}

// Clears whatever the argument, but reports false: hosts rely on that.
bool UnitClearSelectList(int list) {
  return Guarded(false, [&] {
    units::TheSelectList().Clear(list < units::kSelectLists);
    return false;
  });
}

bool UnitAddSelectList(unsigned short quantity, int subquantity, unsigned long flags, unsigned short device,
                       unsigned short index, int list) {
  return Guarded(false, [&] {
    return units::TheSelectList().Add(list, quantity, subquantity, static_cast<uint32_t>(flags), device, index);
  });
}

bool UnitExistQuantity(unsigned short quantity, int subquantity, unsigned long flags, unsigned short device,
                       unsigned short index) {
  return Guarded(false, [&] {
    return units::ExistQuantity(quantity, subquantity, static_cast<uint32_t>(flags), device, index);
  });
}

bool UnitAddDeviceIndex(unsigned short quantity, int subquantity, unsigned long flags, unsigned short device,
                        unsigned short index) {
  return Guarded(false, [&] {
    return units::AddDeviceIndex(quantity, subquantity, static_cast<uint32_t>(flags), device, index);
  });
}
