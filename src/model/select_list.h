// Select lists: transient lists of the exact variants a host wants offered.
// While the restriction is active the group query offers only variants found
// in list 0.
//
// All five list numbers share one array of entry positions; list L holds
// positions 0 .. count(L) - 1, so entries added under one number take the
// positions of another's. Hosts rely on this sharing.
#ifndef UNITS_MODEL_SELECT_LIST_H_
#define UNITS_MODEL_SELECT_LIST_H_

#include <cstdint>

namespace units {
constexpr int kSelectListEntries = 500;
constexpr int kSelectLists = 5;
}  // namespace units

class t_unitlistquantity {
 public:
  t_unitlistquantity() = default;
  virtual ~t_unitlistquantity();

  uint16_t wQuantity = 0;
  int32_t lSubQuantity = -1;
  uint32_t dwFlags = 0;
  uint16_t wDevice = 0;
  uint16_t wIndex = 0;
};

class t_unitselectlist {
 public:
  t_unitselectlist() = default;
  virtual ~t_unitselectlist();

  // Resets counts and the switch; with `reset_entries` every position too.
  void Clear(bool reset_entries);
  // True when the variant is in the list afterwards; false for a list number
  // outside 0..4 or a full list.
  bool Add(int list, uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device, uint16_t index);
  // Whether the variant passes the restriction (always, while it is off).
  bool Admits(uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device, uint16_t index) const;

  t_unitlistquantity aEntry[units::kSelectListEntries];
  uint16_t wActive = 0;
  int32_t lCurrentList = 0;
  int32_t alCount[units::kSelectLists] = {};

 private:
  bool Contains(int list, uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device,
                uint16_t index) const;
};

#endif  // UNITS_MODEL_SELECT_LIST_H_
