#include "groups_json.h"

#include <cstring>
#include <string>

namespace units {
namespace tool {

namespace {

constexpr uint16_t kKnownTests = kTestQuantity | kTestSubQuantity | kTestFlags | kTestDevice | kTestIndex;

bool IsInitialCondition(const t_FilterCondition& condition) {
  t_FilterCondition fresh;
  InitCondition(&fresh);
  return std::memcmp(&condition, &fresh, sizeof(fresh)) == 0;
}

// ---- groups to JSON ----

// {"on": ..., "off": ...} reads best; a value with bits outside the mask
// (which can never match) needs the raw pair.
Json FlagTestToJson(uint32_t value, uint32_t mask) {
  Json json = Json::object();
  if ((value & ~mask) == 0) {
    json["on"] = FlagsToJson(value);
    json["off"] = FlagsToJson(mask & ~value);
  } else {
    json["value"] = FlagsToJson(value);
    json["mask"] = FlagsToJson(mask);
  }
  return json;
}

// The fields of one condition, the tested ones (`tested` true) or the ones
// that are stored without being tested and differ from their initial value.
Json ConditionFields(const t_FilterCondition& c, bool tested) {
  const auto include = [&](uint16_t bit, bool differs) {
    return tested ? (c.wTests & bit) != 0 : !(c.wTests & bit) && differs;
  };
  Json json = Json::object();
  if (include(kTestQuantity, c.wQuantity != 0)) json["quantity"] = Load(c.wQuantity);
  if (include(kTestSubQuantity, c.lSubQuan != -1)) json["subquantity"] = Load(c.lSubQuan);
  if (include(kTestFlags, c.dwFlagValue != 0 || c.dwFlagMask != 0))
    json["flags"] = FlagTestToJson(c.dwFlagValue, c.dwFlagMask);
  if (include(kTestDevice, c.wDevice != 0)) json["device"] = Load(c.wDevice);
  if (include(kTestIndex, c.wIndex != 0)) json["index"] = Load(c.wIndex);
  return json;
}

Json ConditionToJson(const t_FilterCondition& condition) {
  Json json = ConditionFields(condition, true);
  const Json untested = ConditionFields(condition, false);
  if (!untested.empty()) json["untested"] = untested;
  if ((condition.wTests & ~kKnownTests) != 0) json["tests"] = Load(condition.wTests);
  return json;
}

Json GroupToJson(const t_FilterEntry& entry) {
  Json json = Json::object();
  const int32_t in_use = ConditionsInUse(entry);
  json["name"] = TextFieldToJson(entry.szName, sizeof(entry.szName));
  Json conditions = Json::array();
  for (int32_t c = 0; c < in_use; ++c) conditions.push_back(ConditionToJson(entry.aCondition[c]));
  json["conditions"] = conditions;
  // The conditions past the ones in use are never read, but they are stored.
  int32_t stored = kMaxConditions;
  while (stored > in_use && IsInitialCondition(entry.aCondition[stored - 1])) --stored;
  if (stored > in_use) {
    Json spare = Json::array();
    for (int32_t c = in_use; c < stored; ++c) {
      const t_FilterCondition& condition = entry.aCondition[c];
      spare.push_back(IsInitialCondition(condition) ? Json(nullptr) : ConditionToJson(condition));
    }
    json["spare_conditions"] = spare;
  }
  return json;
}

// ---- JSON to groups ----

void FlagTestFromJson(const Node& node, t_FilterCondition* condition) {
  node.ExpectObject({"on", "off", "value", "mask"});
  const bool on_off = node.Has("on") || node.Has("off");
  if (on_off && (node.Has("value") || node.Has("mask"))) node.Fail("give either \"on\"/\"off\" or \"value\"/\"mask\"");
  if (on_off) {
    const uint32_t on = node.Has("on") ? FlagsFromJson(node.Member("on")) : 0;
    const uint32_t off = node.Has("off") ? FlagsFromJson(node.Member("off")) : 0;
    if ((on & off) != 0) node.Fail("a flag cannot be both on and off");
    condition->dwFlagValue = on;
    condition->dwFlagMask = on | off;
  } else {
    condition->dwFlagValue = node.Has("value") ? FlagsFromJson(node.Member("value")) : 0;
    condition->dwFlagMask = node.Has("mask") ? FlagsFromJson(node.Member("mask")) : 0;
  }
}

// Reads the field keys of `node` into `condition`; returns the test bits of
// the keys present.
uint16_t ConditionFieldsFromJson(const Node& node, t_FilterCondition* condition) {
  uint16_t tests = 0;
  if (node.Has("quantity")) {
    condition->wQuantity = static_cast<uint16_t>(node.Member("quantity").Integer(0, UINT16_MAX));
    tests |= kTestQuantity;
  }
  if (node.Has("subquantity")) {
    condition->lSubQuan = static_cast<int32_t>(node.Member("subquantity").Integer(INT32_MIN, INT32_MAX));
    tests |= kTestSubQuantity;
  }
  if (node.Has("flags")) {
    FlagTestFromJson(node.Member("flags"), condition);
    tests |= kTestFlags;
  }
  if (node.Has("device")) {
    condition->wDevice = static_cast<uint16_t>(node.Member("device").Integer(0, UINT16_MAX));
    tests |= kTestDevice;
  }
  if (node.Has("index")) {
    condition->wIndex = static_cast<uint16_t>(node.Member("index").Integer(0, UINT16_MAX));
    tests |= kTestIndex;
  }
  return tests;
}

void ConditionFromJson(const Node& node, t_FilterCondition* condition) {
  node.ExpectObject({"quantity", "subquantity", "flags", "device", "index", "untested", "tests"});
  if (node.Has("untested")) {
    const Node untested = node.Member("untested");
    untested.ExpectObject({"quantity", "subquantity", "flags", "device", "index"});
    for (const auto& item : untested.value().items()) {
      if (node.Has(item.key().c_str())) untested.Fail("\"" + item.key() + "\" is tested and untested at once");
    }
    ConditionFieldsFromJson(untested, condition);
  }
  const uint16_t tests = ConditionFieldsFromJson(node, condition);
  condition->wTests = tests;
  if (node.Has("tests")) {
    const Node raw = node.Member("tests");
    condition->wTests = static_cast<uint16_t>(raw.Integer(0, UINT16_MAX));
    if ((condition->wTests & kKnownTests) != tests) {
      raw.Fail("its test bits " + std::to_string(condition->wTests & kKnownTests) +
               " contradict the keys present, which give " + std::to_string(tests));
    }
  }
}

void GroupFromJson(const Node& node, t_FilterEntry* entry) {
  node.ExpectObject({"name", "conditions", "spare_conditions"});
  ReadTextField(node.Member("name"), entry->szName, sizeof(entry->szName));
  const Node named = node.Renamed(node.path() + " (" + node.Member("name").value().dump() + ")");
  const Node conditions = named.Member("conditions");
  const size_t in_use = conditions.ArraySize(kMaxConditions, "conditions");
  for (size_t c = 0; c < in_use; ++c) ConditionFromJson(conditions.Element(c), &entry->aCondition[c]);
  entry->lCount = static_cast<int32_t>(in_use);
  if (!named.Has("spare_conditions")) return;
  const Node spare = named.Member("spare_conditions");
  const size_t count = spare.ArraySize(kMaxConditions - in_use, "spare conditions after the ones in use");
  for (size_t c = 0; c < count; ++c) {
    const Node element = spare.Element(c);
    if (!element.IsNull()) ConditionFromJson(element, &entry->aCondition[in_use + c]);
  }
}

}  // namespace

Json GroupsToJson(const GroupsDocument& document) {
  Json json = Json::object();
  json["current_group"] = document.current_group;
  Json groups = Json::array();
  for (const t_FilterEntry& entry : document.groups) groups.push_back(GroupToJson(entry));
  json["groups"] = groups;
  return json;
}

GroupsDocument GroupsFromJson(const Json& source) {
  const Node root(source, "(top)");
  root.ExpectObject({"current_group", "groups"});
  GroupsDocument document;
  const Node groups = root.Member("groups").Renamed("groups");
  const size_t count = groups.ArraySize(INT32_MAX, "groups");
  document.groups.resize(count);
  for (size_t i = 0; i < count; ++i) {
    InitFilterEntry(&document.groups[i]);
    GroupFromJson(groups.Element(i), &document.groups[i]);
  }
  if (root.Has("current_group")) {
    document.current_group = static_cast<int32_t>(root.Member("current_group").Integer(0, static_cast<int64_t>(count)));
  }
  return document;
}

}  // namespace tool
}  // namespace units
