// Device registrations and select lists.
#include "api/export_guard.h"
#include "service/registrations.h"
#include "units.h"

using units::Guarded;
using units::TheService;

bool UnitClearSelectList() {
  return Guarded(false, [] {
    TheService().ClearSelectList(true);
    return true;
  });
}

// Clears whatever the argument, but reports false: hosts rely on that.
bool UnitClearSelectList(int list) {
  return Guarded(false, [&] {
    TheService().ClearSelectList(list < units::kSelectLists);
    return false;
  });
}

bool UnitAddSelectList(unsigned short quantity, int subquantity, unsigned long flags, unsigned short device,
                       unsigned short index, int list) {
  return Guarded(false, [&] {
    return TheService().AddSelectList(list, quantity, subquantity, static_cast<uint32_t>(flags), device, index);
  });
}

bool UnitExistQuantity(unsigned short quantity, int subquantity, unsigned long flags, unsigned short device,
                       unsigned short index) {
  return units::GuardedRead(false, [&](const units::View& view) {
    return units::ExistQuantity(*view.catalogue, quantity, subquantity, static_cast<uint32_t>(flags), device, index);
  });
}

bool UnitAddDeviceIndex(unsigned short quantity, int subquantity, unsigned long flags, unsigned short device,
                        unsigned short index) {
  return Guarded(false, [&] {
    return TheService().AddDeviceIndex(quantity, subquantity, static_cast<uint32_t>(flags), device, index);
  });
}
