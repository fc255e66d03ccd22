#include "model/quantity.h"

#include <cstring>


namespace units {

void InitQuantity(t_quantity* quantity) {
  std::memset(quantity, 0, sizeof(*quantity));
  for (t_quantityunit& unit : quantity->aUnit) {
    unit.dFactor = 1.0;
    unit.dOffset = 0.0;
    unit.wState = 2;  // not defined
  }
  quantity->aUnit[0].wState = kUnitDefined;
  for (t_subquantity& slot : quantity->aSubQuantity) {
    slot.wState = kSlotEnabled;  // enabled, not defined
  }
}

const t_subquantity* FindSubQuantity(const t_quantity* quantity, int16_t number, uint32_t flags) {
  if (quantity == nullptr || number < 0) return nullptr;
  for (const t_subquantity& slot : quantity->aSubQuantity) {
    if ((slot.wState & kSlotDefined) && slot.lSubQuan == number && slot.dwFlags == flags) return &slot;
  }
  return nullptr;
}

const char* QuantityDisplaySymbol(const t_quantity& quantity, uint16_t text_mode) {
  return (text_mode == kTextMode && quantity.szText[0] != '\0') ? quantity.szText : quantity.szSymbol;
}

const char* SubQuantityDisplaySymbol(const t_subquantity& slot, uint16_t text_mode) {
  return (text_mode == kTextMode && slot.szText[0] != '\0') ? slot.szText : slot.szSymbol;
}

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

size_t SequenceLength(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// Where to cut `text` so that at most `limit` bytes remain: backs up over a
// UTF-8 sequence that the limit would split. Bytes that are not UTF-8 (texts
// from 8-bit code pages) are cut at the limit.
size_t CutPoint(const char* text, size_t limit) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t lead = limit;
  while (lead > 0 && limit - lead < 3 && IsContinuation(bytes[lead])) --lead;
  if (lead == limit) return limit;
  if (SequenceLength(bytes[lead]) > limit - lead && SequenceLength(bytes[lead]) > 1) return lead;
  return limit;
}

}  // namespace

void CopyText(char* field, size_t width, const char* text) {
  if (width == 0) return;
  if (text == nullptr) text = "";
  size_t length = strnlen(text, width);
  if (length >= width) length = CutPoint(text, width - 1);
  std::memcpy(field, text, length);
  std::memset(field + length, 0, width - length);
}

}  // namespace units
