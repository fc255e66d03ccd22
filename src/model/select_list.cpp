#include "model/select_list.h"

t_unitlistquantity::~t_unitlistquantity() = default;
t_unitselectlist::~t_unitselectlist() = default;

void t_unitselectlist::Clear(bool reset_entries) {
  wActive = 0;
  lCurrentList = 0;
  for (int32_t& count : alCount) count = 0;
  if (reset_entries) {
    for (t_unitlistquantity& entry : aEntry) entry = t_unitlistquantity();
  }
}

bool t_unitselectlist::Contains(int list, uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device,
                                uint16_t index) const {
  for (int32_t k = 0; k < alCount[list]; ++k) {
    const t_unitlistquantity& e = aEntry[k];
    if (e.wQuantity == quantity && e.lSubQuantity == subquantity && e.dwFlags == flags && e.wDevice == device &&
        e.wIndex == index) {
      return true;
    }
  }
  return false;
}

bool t_unitselectlist::Add(int list, uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device,
                           uint16_t index) {
  if (list < 0 || list >= units::kSelectLists || alCount[list] >= units::kSelectListEntries) return false;
  if (Contains(list, quantity, subquantity, flags, device, index)) return true;
  wActive = 1;
  t_unitlistquantity& entry = aEntry[alCount[list]++];
  entry.wQuantity = quantity;
  entry.lSubQuantity = subquantity;
  entry.dwFlags = flags;
  entry.wDevice = device;
  entry.wIndex = index;
  return true;
}

bool t_unitselectlist::Admits(uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device,
                              uint16_t index) const {
  // Only list 0 is ever current: nothing sets lCurrentList to another.
  return wActive == 0 || Contains(0, quantity, subquantity, flags, device, index);
}
