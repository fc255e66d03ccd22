#include "text/names.h"

#include <cstdio>

#include "catalogue/catalogue.h"
#include "module/module_state.h"
#include "text/device_names.h"

namespace units {

namespace {

char g_name_buffer[kComposedTextSize];
char g_symbol_buffer[kComposedTextSize];

constexpr uint32_t kLooseFlagBit = 0x4000;

const char* Store(char* buffer, const std::string& text) {
  CopyText(buffer, kComposedTextSize, text.c_str());
  return buffer;
}

bool HasPair(const t_subquantity& slot, uint16_t device, uint16_t index) {
  for (int k = 0; k < PairCount(slot); ++k) {
    if (slot.awDevice[k] == device && slot.awIndex[k] == index) return true;
  }
  return false;
}

void LogMissing(uint16_t quantity, int16_t subquantity, uint32_t flags, uint16_t device, uint16_t index) {
  if (!Module().missing_quantity_log) return;
  const std::string path = LogFolder() + "UNITSQUAN.LOG";
  std::FILE* file = std::fopen(path.c_str(), "a");
  if (file == nullptr) return;
  std::fprintf(file, "Not found - Quan: %u SubQuan: %u Flags: %lu Device: %u Index: %u\n",
               static_cast<unsigned>(quantity), static_cast<unsigned>(static_cast<int32_t>(subquantity)),
               static_cast<unsigned long>(flags), static_cast<unsigned>(device), static_cast<unsigned>(index));
  std::fclose(file);
}

}  // namespace

const char* QuantityName(uint16_t quantity, int16_t subquantity, uint32_t flags, uint16_t device, uint16_t index) {
  g_name_buffer[0] = '\0';
  t_quantity* record = FindQuantity(quantity);
  if (record == nullptr) return kUnknownText;
  const t_subquantity* slot = FindSubQuantity(record, subquantity, flags);
  if (slot == nullptr) return Store(g_name_buffer, Translate(record->szName));
  if (slot->wCount == 0) return Store(g_name_buffer, Translate(slot->szName));
  if (!HasPair(*slot, device, index)) return kUnknownText;
  const std::string base = Translate(slot->szName);
  return Store(g_name_buffer, VariantSymbol(base.c_str(), device, index));
}

const char* QuantitySymbol(uint16_t quantity, int16_t subquantity, uint32_t flags, uint16_t device, uint16_t index,
                           bool exact) {
  g_symbol_buffer[0] = '\0';
  t_quantity* record = FindQuantity(quantity);
  if (record == nullptr) {
    LogMissing(quantity, subquantity, flags, device, index);
    return kUnknownText;
  }
  const t_subquantity* slot = FindSubQuantity(record, subquantity, flags);
  if (slot != nullptr) {
    if (slot->wCount == 0) return SubQuantityDisplaySymbol(*slot);
    if (HasPair(*slot, device, index)) {
      // Unlike names, device 0 is looked up like any other device here.
      return Store(g_symbol_buffer, ComposeWithRegistration(SubQuantityDisplaySymbol(*slot), device, index));
    }
    LogMissing(quantity, subquantity, flags, device, index);
    if (exact) return kUnknownText;
  } else if (exact) {
    if (subquantity == 0) return QuantityDisplaySymbol(*record);
    LogMissing(quantity, subquantity, flags, device, index);
    return kUnknownText;
  }
  const t_subquantity* loose = FindSubQuantity(record, subquantity, flags & ~kLooseFlagBit);
  return loose != nullptr ? SubQuantityDisplaySymbol(*loose) : QuantityDisplaySymbol(*record);
}

}  // namespace units
