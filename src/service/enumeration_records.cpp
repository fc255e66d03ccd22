#include "service/enumeration_records.h"

#include <string>

#include "service/device_names.h"

namespace units {

void FillBareQuantity(t_unitquantity* record, const t_quantity& quantity, uint16_t kind, uint32_t flags,
                      uint16_t text_mode) {
  record->wQuantity = quantity.wId;
  record->lSubQuantity = 0;
  record->wKind = kind;
  record->wDevice = 0;
  record->wIndex = 0;
  record->dwFlags = flags;
  CopyText(record->szName, sizeof(record->szName), Translate(quantity.szName).c_str());
  CopyText(record->szSymbol, sizeof(record->szSymbol), QuantityDisplaySymbol(quantity, text_mode));
}

void FillVariant(t_unitquantity* record, const t_quantity& quantity, const t_subquantity& slot, uint16_t device,
                 uint16_t index, uint16_t text_mode) {
  record->wQuantity = quantity.wId;
  record->lSubQuantity = slot.lSubQuan;
  record->wKind = static_cast<uint16_t>(slot.wState & kSlotKindMask);
  record->wDevice = device;
  record->wIndex = index;
  record->dwFlags = slot.dwFlags;
  CopyText(record->szName, sizeof(record->szName), Translate(slot.szName).c_str());
  const std::string symbol = VariantSymbol(SubQuantityDisplaySymbol(slot, text_mode), device, index);
  CopyText(record->szSymbol, sizeof(record->szSymbol), symbol.c_str());
}

}  // namespace units
