#include "service/registrations.h"

#include <utility>
#include <vector>

namespace units {

namespace {

bool SlotIs(const t_subquantity& slot, int32_t subquantity, uint32_t flags) {
  return slot.lSubQuan == subquantity && slot.dwFlags == flags;
}

bool SlotRegisters(const t_subquantity& slot, uint16_t device, uint16_t index) {
  if (slot.wCount == 0) return device == 0 && index == 0;
  for (int k = 0; k < PairCount(slot); ++k) {
    if (slot.awDevice[k] == device && slot.awIndex[k] == index) return true;
  }
  return false;
}

bool HasDefinedSlot(const t_quantity& quantity) {
  for (const t_subquantity& slot : quantity.aSubQuantity) {
    if (slot.wState & kSlotDefined) return true;
  }
  return false;
}

void AppendPair(t_subquantity* slot, uint16_t device, uint16_t index) {
  slot->awDevice[slot->wCount] = device;
  slot->awIndex[slot->wCount] = index;
  ++slot->wCount;
}

// A slot without pairs stands for (0, 0); it keeps doing so by getting that
// pair first.
bool AddToFirstSlotWithRoom(t_quantity* quantity, int32_t subquantity, uint32_t flags, uint16_t device,
                            uint16_t index) {
  for (t_subquantity& slot : quantity->aSubQuantity) {
    if (!SlotIs(slot, subquantity, flags)) continue;
    if (slot.wCount == 0) {
      AppendPair(&slot, 0, 0);
      AppendPair(&slot, device, index);
      return true;
    }
    if (slot.wCount < kMaxPairs) {
      AppendPair(&slot, device, index);
      return true;
    }
  }
  return false;
}

// Position of the first record with this identifier that has a slot
// (defined or not) with this number and flags; -1 if none.
int32_t FindRecordWithSlot(const Catalogue& catalogue, uint16_t quantity, int32_t subquantity, uint32_t flags) {
  for (int32_t i = 0; i < catalogue.Count(); ++i) {
    const t_quantity& record = catalogue.At(i);
    if (record.wId != quantity) continue;
    for (const t_subquantity& slot : record.aSubQuantity) {
      if (SlotIs(slot, subquantity, flags)) return i;
    }
  }
  return -1;
}

// A quantity without any defined slot gets slot 0 as its subquantity 0,
// named like the quantity, before registering.
void DefineFirstSlot(t_quantity* record, uint32_t flags) {
  t_subquantity& slot = record->aSubQuantity[0];
  slot.wState = static_cast<uint16_t>(slot.wState | kSlotDefined | kSlotEnabled);
  slot.lSubQuan = 0;
  slot.dwFlags = flags;
  CopyText(slot.szName, sizeof(slot.szName), record->szName);
  CopyText(slot.szSymbol, sizeof(slot.szSymbol), record->szSymbol);
  CopyText(slot.szText, sizeof(slot.szText), record->szText);
}

}  // namespace

bool ExistQuantity(const Catalogue& catalogue, uint16_t quantity, int32_t subquantity, uint32_t flags,
                   uint16_t device, uint16_t index) {
  for (const SharedQuantity& record : catalogue.Records()) {
    if (record->wId != quantity) continue;
    for (const t_subquantity& slot : record->aSubQuantity) {
      if (SlotIs(slot, subquantity, flags) && SlotRegisters(slot, device, index)) return true;
    }
  }
  return false;
}

std::shared_ptr<const Catalogue> WithDeviceIndex(const Catalogue& catalogue, uint16_t quantity,
                                                 int32_t subquantity, uint32_t flags, uint16_t device,
                                                 uint16_t index) {
  if (ExistQuantity(catalogue, quantity, subquantity, flags, device, index)) return nullptr;
  const int32_t position = FindRecordWithSlot(catalogue, quantity, subquantity, flags);
  if (position < 0) return nullptr;
  auto changed = std::make_shared<t_quantity>(catalogue.At(position));
  if (!HasDefinedSlot(*changed) && subquantity == 0) DefineFirstSlot(changed.get(), flags);
  if (!AddToFirstSlotWithRoom(changed.get(), subquantity, flags, device, index)) return nullptr;
  std::vector<SharedQuantity> records = catalogue.Records();
  records[static_cast<size_t>(position)] = std::move(changed);
  return MakeCatalogue(std::move(records));
}

}  // namespace units
