#include "service/group_query.h"

#include <memory>
#include <vector>

#include "service/enumeration_records.h"

namespace units {

namespace {

// One passing candidate, kept small: the records are filled only after the
// query knows how many there are, so memory follows the result.
struct Hit {
  const t_quantity* quantity;
  int8_t slot;  // -1 for the bare quantity
  uint16_t device;
  uint16_t index;
};

constexpr Combination BareCandidate(const t_quantity& quantity) {
  return Combination{quantity.wId, 0, kFlagData, 0, 0};
}

void CollectQuantity(const QueryScope& scope, const t_quantity& quantity, std::vector<Hit>* hits) {
  bool has_active_slot = false;
  for (int s = 0; s < kSubQuantitySlots; ++s) {
    const t_subquantity& slot = quantity.aSubQuantity[s];
    if (!IsActiveSlot(slot)) continue;
    has_active_slot = true;
    const int pairs = PairCount(slot);
    if (pairs == 0) {
      if (IsInFilter(scope, Combination{quantity.wId, slot.lSubQuan, slot.dwFlags, 0, 0})) {
        hits->push_back(Hit{&quantity, static_cast<int8_t>(s), 0, 0});
      }
      continue;
    }
    for (int k = 0; k < pairs; ++k) {
      const Combination candidate{quantity.wId, slot.lSubQuan, slot.dwFlags, slot.awDevice[k], slot.awIndex[k]};
      if (IsInFilter(scope, candidate)) hits->push_back(Hit{&quantity, static_cast<int8_t>(s), candidate.device, candidate.index});
    }
  }
  if (!has_active_slot && IsInFilter(scope, BareCandidate(quantity))) hits->push_back(Hit{&quantity, -1, 0, 0});
}

}  // namespace

QueryScope CurrentScope(const View& view) { return QueryScope{view.select_list.get(), view.groups->CurrentGroup()}; }

bool IsInFilter(const QueryScope& scope, const Combination& c) {
  if (scope.select_list != nullptr && !scope.select_list->Admits(c.quantity, c.subquantity, c.flags, c.device, c.index)) {
    return false;
  }
  return scope.group == nullptr || GroupMatches(*scope.group, c);
}

t_unitquantity* RunGroupQuery(const View& view, const QueryScope& scope, int* count) {
  std::vector<Hit> hits;
  for (const auto& quantity : view.catalogue->Records()) {
    if (quantity->dwState & kQuantityEnabled) CollectQuantity(scope, *quantity, &hits);
  }
  *count = static_cast<int>(hits.size());
  if (hits.empty()) return nullptr;
  std::unique_ptr<t_unitquantity[]> records(new t_unitquantity[hits.size()]);
  for (size_t r = 0; r < hits.size(); ++r) {
    const Hit& hit = hits[r];
    if (hit.slot < 0) {
      FillBareQuantity(&records[r], *hit.quantity, kBareKind, kFlagData, view.text_mode);
    } else {
      FillVariant(&records[r], *hit.quantity, hit.quantity->aSubQuantity[hit.slot], hit.device, hit.index,
                  view.text_mode);
    }
  }
  return records.release();
}

}  // namespace units
