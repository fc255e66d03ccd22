#include "service/names.h"

#include "service/conversion_log.h"
#include "service/device_names.h"
#include "service/text_buffers.h"

namespace units {

namespace {

constexpr uint32_t kLooseFlagBit = 0x4000;

const char* Name(const std::string& text) { return KeepText(TextKind::kName, text); }
const char* Symbol(const char* text) { return KeepText(TextKind::kSymbol, text); }

bool HasPair(const t_subquantity& slot, uint16_t device, uint16_t index) {
  for (int k = 0; k < PairCount(slot); ++k) {
    if (slot.awDevice[k] == device && slot.awIndex[k] == index) return true;
  }
  return false;
}

}  // namespace

const char* QuantityName(const View& view, uint16_t quantity, int16_t subquantity, uint32_t flags, uint16_t device,
                         uint16_t index) {
  const t_quantity* record = view.catalogue->Find(quantity);
  if (record == nullptr) return kUnknownText;
  const t_subquantity* slot = FindSubQuantity(record, subquantity, flags);
  if (slot == nullptr) return Name(Translate(record->szName));
  if (slot->wCount == 0) return Name(Translate(slot->szName));
  if (!HasPair(*slot, device, index)) return kUnknownText;
  const std::string base = Translate(slot->szName);
  return Name(VariantSymbol(base.c_str(), device, index));
}

const char* QuantitySymbol(const View& view, uint16_t quantity, int16_t subquantity, uint32_t flags,
                           uint16_t device, uint16_t index, bool exact) {
  const auto missing = [&] {
    WriteMissingQuantityLog(view.missing_quantity_log, quantity, subquantity, flags, device, index);
  };
  const t_quantity* record = view.catalogue->Find(quantity);
  if (record == nullptr) {
    missing();
    return kUnknownText;
  }
  const uint16_t mode = view.text_mode;
  const t_subquantity* slot = FindSubQuantity(record, subquantity, flags);
  if (slot != nullptr) {
    if (slot->wCount == 0) return Symbol(SubQuantityDisplaySymbol(*slot, mode));
    if (HasPair(*slot, device, index)) {
      // Unlike names, device 0 is looked up like any other device here.
      return Symbol(ComposeWithRegistration(SubQuantityDisplaySymbol(*slot, mode), device, index).c_str());
    }
    missing();
    if (exact) return kUnknownText;
  } else if (exact) {
    if (subquantity == 0) return Symbol(QuantityDisplaySymbol(*record, mode));
    missing();
    return kUnknownText;
  }
  const t_subquantity* loose = FindSubQuantity(record, subquantity, flags & ~kLooseFlagBit);
  return Symbol(loose != nullptr ? SubQuantityDisplaySymbol(*loose, mode) : QuantityDisplaySymbol(*record, mode));
}

}  // namespace units
