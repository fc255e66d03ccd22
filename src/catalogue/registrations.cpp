#include "catalogue/registrations.h"

#include "catalogue/catalogue.h"
#include "storage/store_sequences.h"

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

}  // namespace

t_quantity* FindQuantityWithSubQuantity(uint16_t quantity, int32_t subquantity, uint32_t flags) {
  for (const auto& record : TheCatalogue().Records()) {
    if (record->wId != quantity) continue;
    for (const t_subquantity& slot : record->aSubQuantity) {
      if (SlotIs(slot, subquantity, flags)) return record.get();
    }
  }
  return nullptr;
}

bool ExistQuantity(uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device, uint16_t index) {
  for (const auto& record : TheCatalogue().Records()) {
    if (record->wId != quantity) continue;
    for (const t_subquantity& slot : record->aSubQuantity) {
      if (SlotIs(slot, subquantity, flags) && SlotRegisters(slot, device, index)) return true;
    }
  }
  return false;
}

bool AddDeviceIndex(uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device, uint16_t index) {
  if (ExistQuantity(quantity, subquantity, flags, device, index)) return false;
  t_quantity* record = FindQuantityWithSubQuantity(quantity, subquantity, flags);
  if (record == nullptr) return false;
  if (!HasDefinedSlot(*record) && subquantity == 0) {
    t_subquantity& slot = record->aSubQuantity[0];
    slot.wState = static_cast<uint16_t>(slot.wState | kSlotDefined | kSlotEnabled);
    slot.lSubQuan = 0;
    slot.dwFlags = flags;
    CopyText(slot.szName, sizeof(slot.szName), record->szName);
    CopyText(slot.szSymbol, sizeof(slot.szSymbol), record->szSymbol);
    CopyText(slot.szText, sizeof(slot.szText), record->szText);
  }
  if (!AddToFirstSlotWithRoom(record, subquantity, flags, device, index)) return false;
  SaveSequence();
  return true;
}

}  // namespace units
