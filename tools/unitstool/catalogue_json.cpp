#include "catalogue_json.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace units {
namespace tool {

namespace {

// The state InitQuantity gives unit slots other than the base unit.
constexpr uint16_t kUnitUnused = 2;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

// Slots in the state InitQuantity leaves them in are left out of the JSON
// (null where a later slot follows); everything else is written.
bool IsInitialUnit(const t_quantityunit& unit) {
  return SameBits(unit.dFactor, 1.0) && SameBits(unit.dOffset, 0.0) && unit.szText[0] == '\0' &&
         unit.wState == kUnitUnused;
}

bool IsInitialSlot(const t_subquantity& slot) {
  // Pairs past wCount are never stored, so they take no part.
  return slot.lSubQuan == 0 && slot.szName[0] == '\0' && slot.szSymbol[0] == '\0' && slot.szText[0] == '\0' &&
         slot.wState == kSlotEnabled && slot.dwFlags == 0 && slot.wCount == 0;
}

uint16_t UnitState(bool defined) { return defined ? kUnitDefined : kUnitUnused; }

uint16_t SlotState(bool defined, bool enabled, int kind) {
  return static_cast<uint16_t>((defined ? kSlotDefined : 0) | (enabled ? kSlotEnabled : 0) | (kind << 12));
}

// ---- records to JSON ----

Json UnitToJson(const t_quantityunit& unit) {
  Json json = Json::object();
  const bool defined = (unit.wState & kUnitDefined) != 0;
  json["text"] = TextFieldToJson(unit.szText, sizeof(unit.szText));
  json["factor"] = DoubleToJson(unit.dFactor);
  json["offset"] = DoubleToJson(unit.dOffset);
  if (!defined) json["defined"] = false;
  if (unit.wState != UnitState(defined)) json["state"] = Load(unit.wState);
  return json;
}

Json SlotToJson(const t_subquantity& slot) {
  Json json = Json::object();
  const bool defined = (slot.wState & kSlotDefined) != 0;
  const bool enabled = (slot.wState & kSlotEnabled) != 0;
  const int kind = (slot.wState & kSlotKindMask) >> 12;
  json["number"] = Load(slot.lSubQuan);
  json["name"] = TextFieldToJson(slot.szName, sizeof(slot.szName));
  json["symbol"] = TextFieldToJson(slot.szSymbol, sizeof(slot.szSymbol));
  json["text"] = TextFieldToJson(slot.szText, sizeof(slot.szText));
  json["enabled"] = enabled;
  json["kind"] = kind;
  json["flags"] = FlagsToJson(slot.dwFlags);
  Json pairs = Json::array();
  for (int i = 0; i < slot.wCount && i < kMaxPairs; ++i)
    pairs.push_back(Json::array({Load(slot.awDevice[i]), Load(slot.awIndex[i])}));
  json["pairs"] = pairs;
  if (!defined) json["defined"] = false;
  if (slot.wState != SlotState(defined, enabled, kind)) json["state"] = Load(slot.wState);
  return json;
}

// Positional: slot i is element i; slots in their initial state are null and
// the initial ones at the end are left out. The first `always` slots are
// written whole: the base unit starts defined, so null could not stand for an
// unused one there.
template <typename Slot, typename IsInitial, typename ToJson>
Json SlotsToJson(const Slot* slots, int count, int always, IsInitial is_initial, ToJson to_json) {
  int used = count;
  while (used > always && is_initial(slots[used - 1])) --used;
  Json json = Json::array();
  for (int i = 0; i < used; ++i)
    json.push_back(i >= always && is_initial(slots[i]) ? Json(nullptr) : to_json(slots[i]));
  return json;
}

Json QuantityToJson(const t_quantity& quantity) {
  Json json = Json::object();
  json["id"] = Load(quantity.wId);
  json["name"] = TextFieldToJson(quantity.szName, sizeof(quantity.szName));
  json["symbol"] = TextFieldToJson(quantity.szSymbol, sizeof(quantity.szSymbol));
  json["text"] = TextFieldToJson(quantity.szText, sizeof(quantity.szText));
  json["enabled"] = (quantity.dwState & kQuantityEnabled) != 0;
  if ((quantity.dwState & ~kQuantityEnabled) != 0) json["state"] = Load(quantity.dwState);
  json["unit"] = Load(quantity.dwUnit);
  json["units"] = SlotsToJson(quantity.aUnit, kUnitSlots, 1, IsInitialUnit, UnitToJson);
  json["subquantities"] = SlotsToJson(quantity.aSubQuantity, kSubQuantitySlots, 0, IsInitialSlot, SlotToJson);
  return json;
}

// ---- JSON to records ----

// An explicit raw "state" must agree with the bits the other keys give.
template <typename Word>
Word StateWord(const Node& node, Word from_keys, Word key_mask, int64_t max) {
  if (!node.Has("state")) return from_keys;
  const Node state = node.Member("state");
  const auto raw = static_cast<Word>(state.Integer(0, max));
  if ((raw & key_mask) != (from_keys & key_mask)) {
    state.Fail("contradicts the other keys, which give " + std::to_string(from_keys & key_mask) + " under the mask " +
               std::to_string(key_mask));
  }
  return raw;
}

void UnitFromJson(const Node& node, t_quantityunit* unit) {
  node.ExpectObject({"text", "factor", "offset", "defined", "state"});
  ReadTextField(node.Member("text"), unit->szText, sizeof(unit->szText));
  unit->dFactor = node.Member("factor").ExactNumber();
  unit->dOffset = node.Has("offset") ? node.Member("offset").ExactNumber() : 0.0;
  const bool defined = node.Has("defined") ? node.Member("defined").Boolean() : true;
  unit->wState = StateWord<uint16_t>(node, UnitState(defined), kUnitDefined, UINT16_MAX);
}

void PairsFromJson(const Node& node, t_subquantity* slot) {
  const size_t count = node.ArraySize(kMaxPairs, "device/index pairs");
  for (size_t i = 0; i < count; ++i) {
    const Node pair = node.Element(i);
    if (pair.ArraySize(2, "numbers") != 2) pair.Fail("a pair is [device, index]");
    slot->awDevice[i] = static_cast<uint16_t>(pair.Element(0).Integer(0, UINT16_MAX));
    slot->awIndex[i] = static_cast<uint16_t>(pair.Element(1).Integer(0, UINT16_MAX));
  }
  slot->wCount = static_cast<uint16_t>(count);
}

void SlotFromJson(const Node& node, t_subquantity* slot) {
  node.ExpectObject({"number", "name", "symbol", "text", "enabled", "kind", "flags", "pairs", "defined", "state"});
  slot->lSubQuan = static_cast<int32_t>(node.Member("number").Integer(INT32_MIN, INT32_MAX));
  ReadTextField(node.Member("name"), slot->szName, sizeof(slot->szName));
  if (node.Has("symbol")) ReadTextField(node.Member("symbol"), slot->szSymbol, sizeof(slot->szSymbol));
  if (node.Has("text")) ReadTextField(node.Member("text"), slot->szText, sizeof(slot->szText));
  slot->dwFlags = FlagsFromJson(node.Member("flags"));
  if (node.Has("pairs")) PairsFromJson(node.Member("pairs"), slot);
  const bool defined = node.Has("defined") ? node.Member("defined").Boolean() : true;
  const bool enabled = node.Has("enabled") ? node.Member("enabled").Boolean() : true;
  const int kind = node.Has("kind") ? static_cast<int>(node.Member("kind").Integer(0, 15)) : 0;
  const uint16_t known = kSlotDefined | kSlotEnabled | kSlotKindMask;
  slot->wState = StateWord<uint16_t>(node, SlotState(defined, enabled, kind), known, UINT16_MAX);
}

template <typename Slot, typename FromJson>
void SlotsFromJson(const Node& node, Slot* slots, int count, const char* what, FromJson from_json) {
  const size_t size = node.ArraySize(static_cast<size_t>(count), what);
  for (size_t i = 0; i < size; ++i) {
    const Node element = node.Element(i);
    if (!element.IsNull()) from_json(element, &slots[i]);
  }
}

void QuantityFromJson(const Node& node, t_quantity* quantity) {
  node.ExpectObject({"id", "name", "symbol", "text", "enabled", "state", "unit", "units", "subquantities"});
  quantity->wId = static_cast<uint16_t>(node.Member("id").Integer(0, UINT16_MAX));
  const Node named = node.Renamed(node.path() + " (id " + std::to_string(quantity->wId) + ")");
  ReadTextField(named.Member("name"), quantity->szName, sizeof(quantity->szName));
  ReadTextField(named.Member("symbol"), quantity->szSymbol, sizeof(quantity->szSymbol));
  if (named.Has("text")) ReadTextField(named.Member("text"), quantity->szText, sizeof(quantity->szText));
  const bool enabled = named.Has("enabled") ? named.Member("enabled").Boolean() : true;
  quantity->dwState = StateWord<uint32_t>(named, enabled ? kQuantityEnabled : 0, kQuantityEnabled, UINT32_MAX);

  const Node units = named.Member("units");
  if (units.ArraySize(kUnitSlots, "units") == 0) units.Fail("a quantity needs at least its base unit");
  SlotsFromJson(units, quantity->aUnit, kUnitSlots, "units", UnitFromJson);
  if (named.Has("subquantities")) {
    SlotsFromJson(named.Member("subquantities"), quantity->aSubQuantity, kSubQuantitySlots, "subquantities",
                  SlotFromJson);
  }
  if (named.Has("unit")) {
    const Node unit = named.Member("unit");
    quantity->dwUnit = static_cast<uint32_t>(unit.Integer(0, kUnitSlots - 1));
    // A slot the source does not give is a slip; one given with "defined":
    // false is what a stored file may hold after its unit was removed.
    const Json& units_json = units.value();
    if (quantity->dwUnit >= units_json.size() || units_json[quantity->dwUnit].is_null()) {
      unit.Fail("there is no unit " + std::to_string(quantity->dwUnit) + " in \"units\"");
    }
  }
}

int32_t UnitFormatFromJson(const Node& root) {
  if (!root.Has("unit_format") || root.Member("unit_format").IsNull()) return kUnitFormatNotSet;
  return static_cast<int32_t>(root.Member("unit_format").Integer(kUnitFormatNotSet, 3));
}

uint16_t TextModeFromJson(const Node& root) {
  if (!root.Has("text_mode") || root.Member("text_mode").IsNull()) return kTextModeNotSet;
  const Node mode = root.Member("text_mode");
  const auto value = mode.Integer(0, kTextModeNotSet);
  if (value > 1 && value != kTextModeNotSet) mode.Fail("the text mode is 0 (symbols), 1 (texts) or null (not set)");
  return static_cast<uint16_t>(value);
}

}  // namespace

Json CatalogueToJson(const CatalogueDocument& document) {
  Json json = Json::object();
  json["unit_format"] = document.unit_format == kUnitFormatNotSet ? Json(nullptr) : Json(document.unit_format);
  json["text_mode"] = document.text_mode == kTextModeNotSet ? Json(nullptr) : Json(document.text_mode);
  Json quantities = Json::array();
  for (const auto& record : document.records) quantities.push_back(QuantityToJson(*record));
  json["quantities"] = quantities;
  return json;
}

CatalogueDocument CatalogueFromJson(const Json& source) {
  const Node root(source, "(top)");
  root.ExpectObject({"unit_format", "text_mode", "quantities"});
  CatalogueDocument document;
  document.unit_format = UnitFormatFromJson(root);
  document.text_mode = TextModeFromJson(root);
  const Node quantities = root.Member("quantities").Renamed("quantities");
  const size_t count = quantities.ArraySize(kMaxUdfRecords, "quantities");
  std::map<uint16_t, size_t> first_position;
  for (size_t i = 0; i < count; ++i) {
    auto quantity = std::make_unique<t_quantity>();
    InitQuantity(quantity.get());
    QuantityFromJson(quantities.Element(i), quantity.get());
    const auto inserted = first_position.emplace(quantity->wId, i);
    if (!inserted.second) {
      // Lookups would only ever find the first; the edit dialog refuses such
      // a catalogue too.
      quantities.Element(i).Fail("id " + std::to_string(quantity->wId) + " is already used by quantities[" +
                                 std::to_string(inserted.first->second) + "]");
    }
    document.records.push_back(std::move(quantity));
  }
  return document;
}

}  // namespace tool
}  // namespace units
