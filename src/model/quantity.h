// The quantity record with its display units and subquantity slots.
//
// The records are plain data whose fields follow each other without gaps, in
// the order of the stored record encoding (model/udf_format.h writes them
// field by field, never as a block). Text fields are NUL-terminated inside
// their width.
#ifndef UNITS_MODEL_QUANTITY_H_
#define UNITS_MODEL_QUANTITY_H_

#include <cstddef>
#include <cstdint>

namespace units {

constexpr int kUnitSlots = 10;
constexpr int kSubQuantitySlots = 10;
constexpr int kMaxPairs = 50;
constexpr int kNameWidth = 41;
constexpr int kSymbolWidth = 21;

// Subquantity flag bits (dwFlags).
constexpr uint32_t kFlagSet = 0x00000001;
constexpr uint32_t kFlagError = 0x00000002;
constexpr uint32_t kFlagData = 0x00000004;
constexpr uint32_t kFlagCalculated = 0x00000200;
constexpr uint32_t kFlagFunction = 0x00000400;
constexpr uint32_t kFlagCorrected = 0x00000800;
constexpr uint32_t kFlagMean = 0x00010000;
constexpr uint32_t kFlagSmooth = 0x00020000;
constexpr uint32_t kFlagOffset = 0x00040000;
constexpr uint32_t kFlagEqui = 0x00080000;

constexpr uint32_t kQuantityEnabled = 0x2;  // t_quantity::dwState
constexpr uint16_t kUnitDefined = 0x1;      // t_quantityunit::wState
constexpr uint16_t kSlotDefined = 0x1;      // t_subquantity::wState
constexpr uint16_t kSlotEnabled = 0x2;
constexpr uint16_t kSlotKindMask = 0xF000;

}  // namespace units

#pragma pack(push, 1)

struct t_quantityunit {
  double dFactor;  // display value = base value * dFactor + dOffset
  double dOffset;
  char szText[units::kSymbolWidth];
  uint16_t wState;
};

struct t_subquantity {
  int32_t lSubQuan;
  char szName[units::kNameWidth];
  char szSymbol[units::kSymbolWidth];
  char szText[units::kSymbolWidth];
  uint16_t wState;
  uint32_t dwFlags;
  uint16_t wCount;  // valid device/index pairs, 0..50
  uint16_t awDevice[units::kMaxPairs];
  uint16_t awIndex[units::kMaxPairs];
};

struct t_quantity {
  uint16_t wId;
  char szName[units::kNameWidth];
  char szSymbol[units::kSymbolWidth];
  char szText[units::kSymbolWidth];
  uint32_t dwState;
  uint32_t dwUnit;  // index into aUnit of the current display unit
  t_quantityunit aUnit[units::kUnitSlots];
  t_subquantity aSubQuantity[units::kSubQuantitySlots];
};

#pragma pack(pop)

static_assert(sizeof(t_quantityunit) == 39, "t_quantityunit has no gaps");
static_assert(sizeof(t_subquantity) == 295, "t_subquantity has no gaps");
static_assert(sizeof(t_quantity) == 3433, "t_quantity has no gaps");

namespace units {

// Puts a record into the state every new record starts from: one defined base
// unit (factor 1, offset 0), no defined subquantity.
void InitQuantity(t_quantity* quantity);

// The current display unit. A dwUnit of 10 or more can only come from damaged
// stored data; it is treated as 0, the base unit.
inline const t_quantityunit& CurrentUnit(const t_quantity& quantity) {
  return quantity.aUnit[quantity.dwUnit < kUnitSlots ? quantity.dwUnit : 0];
}

// Defined and enabled: the slot takes part in the enumerations.
inline bool IsActiveSlot(const t_subquantity& slot) {
  return (slot.wState & (kSlotDefined | kSlotEnabled)) == (kSlotDefined | kSlotEnabled);
}

// Device/index pairs in use; a damaged count never reaches past the arrays.
inline int PairCount(const t_subquantity& slot) { return slot.wCount < kMaxPairs ? slot.wCount : kMaxPairs; }

// First defined slot with this number and exactly these flags, disabled slots
// included. Null for a negative number or a null record.
const t_subquantity* FindSubQuantity(const t_quantity* quantity, int16_t number, uint32_t flags);

// Text mode: 0 shows symbols, 1 their plain-text forms.
constexpr uint16_t kSymbolMode = 0;
constexpr uint16_t kTextMode = 1;

// szText in text mode when it is not empty, else szSymbol.
const char* QuantityDisplaySymbol(const t_quantity& quantity, uint16_t text_mode);
const char* SubQuantityDisplaySymbol(const t_subquantity& slot, uint16_t text_mode);

// Copies `text` into a field of `width` bytes, cut so that it always ends
// with a NUL inside the field and never in the middle of a UTF-8 character.
void CopyText(char* field, size_t width, const char* text);

}  // namespace units

#endif  // UNITS_MODEL_QUANTITY_H_
