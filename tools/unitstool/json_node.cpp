#include "json_node.h"

#include <cmath>
#include <cstring>

#include "model/quantity.h"
#include "exact_number.h"
#include "model/text_codec.h"
#include "tool_error.h"

namespace units {
namespace tool {

namespace {

constexpr const char* kCp1252Key = "windows-1252";

const char* TypeName(const Json& value) { return value.type_name(); }

struct FlagName {
  uint32_t bit;
  const char* name;
};

constexpr FlagName kFlagNames[] = {
    {kFlagSet, "Set"},           {kFlagError, "Error"},         {kFlagData, "Data"}, {kFlagCalculated, "Calculated"},
    {kFlagFunction, "Function"}, {kFlagCorrected, "Corrected"}, {kFlagMean, "Mean"}, {kFlagSmooth, "Smooth"},
    {kFlagOffset, "Offset"},     {kFlagEqui, "Equi"},
};

std::string FlagNameList() {
  std::string names;
  for (const FlagName& flag : kFlagNames) names += std::string(names.empty() ? "" : ", ") + flag.name;
  return names;
}

}  // namespace

void Node::Fail(const std::string& message) const { throw ToolError(path_ + ": " + message); }

void Node::ExpectObject(std::initializer_list<const char*> allowed) const {
  if (!value_->is_object()) Fail(std::string("expected an object, found ") + TypeName(*value_));
  for (const auto& item : value_->items()) {
    bool known = false;
    for (const char* key : allowed) known = known || item.key() == key;
    if (known) continue;
    std::string list;
    for (const char* key : allowed) list += std::string(list.empty() ? "" : ", ") + key;
    Fail("unknown key \"" + item.key() + "\" (known keys: " + list + ")");
  }
}

size_t Node::ArraySize(size_t max_size, const char* what) const {
  if (!value_->is_array()) Fail(std::string("expected an array, found ") + TypeName(*value_));
  if (value_->size() > max_size) {
    Fail(std::to_string(value_->size()) + " " + what + ", at most " + std::to_string(max_size) + " fit");
  }
  return value_->size();
}

bool Node::Has(const char* key) const { return value_->contains(key); }

Node Node::Member(const char* key) const {
  if (!value_->contains(key)) Fail(std::string("the key \"") + key + "\" is missing");
  return Node(value_->at(key), path_ + "." + key);
}

Node Node::Element(size_t index) const { return Node(value_->at(index), path_ + "[" + std::to_string(index) + "]"); }

int64_t Node::Integer(int64_t min, int64_t max) const {
  const std::string range = " (allowed: " + std::to_string(min) + " to " + std::to_string(max) + ")";
  if (value_->is_number_unsigned()) {
    const uint64_t value = value_->get<uint64_t>();
    if (value > static_cast<uint64_t>(max)) Fail(std::to_string(value) + " is out of range" + range);
    return static_cast<int64_t>(value);
  }
  if (!value_->is_number_integer()) Fail(std::string("expected an integer, found ") + TypeName(*value_));
  const int64_t value = value_->get<int64_t>();
  if (value < min || value > max) Fail(std::to_string(value) + " is out of range" + range);
  return value;
}

bool Node::Boolean() const {
  if (!value_->is_boolean()) Fail(std::string("expected true or false, found ") + TypeName(*value_));
  return value_->get<bool>();
}

std::string Node::String() const {
  if (!value_->is_string()) Fail(std::string("expected a string, found ") + TypeName(*value_));
  return value_->get<std::string>();
}

double Node::ExactNumber() const {
  if (value_->is_number_integer()) {
    // Conversion from a 64-bit integer rounds to nearest, like strtod.
    return value_->is_number_unsigned() ? static_cast<double>(value_->get<uint64_t>())
                                        : static_cast<double>(value_->get<int64_t>());
  }
  if (value_->is_number_float()) {
    const double value = value_->get<double>();
    if (!std::isfinite(value)) Fail("the number is out of the range of a double");
    return value;
  }
  if (!value_->is_string()) {
    Fail(std::string("expected a number or a rational \"p/q\", found ") + TypeName(*value_));
  }
  std::string error;
  const auto value = ParseExactNumber(value_->get<std::string>(), &error);
  if (!value) Fail(error);
  return *value;
}

void ReadTextField(const Node& node, char* field, size_t width) {
  std::string text, bytes;
  if (node.value().is_object()) {
    node.ExpectObject({kCp1252Key});
    text = node.Member(kCp1252Key).String();
    if (!Utf8ToCp1252(text, &bytes)) node.Fail("\"" + text + "\" has characters that Windows-1252 cannot hold");
  } else {
    // The JSON reader has already refused strings that are not UTF-8.
    text = bytes = node.String();
  }
  if (bytes.find('\0') != std::string::npos) node.Fail("a text may not contain a NUL character");
  if (bytes.size() >= width) {
    node.Fail("\"" + text + "\" takes " + std::to_string(bytes.size()) + " bytes; the field holds at most " +
              std::to_string(width - 1));
  }
  std::memset(field, 0, width);
  std::memcpy(field, bytes.data(), bytes.size());
}

Json TextFieldToJson(const char* field, size_t width) {
  const std::string bytes(field, strnlen(field, width));
  if (IsValidUtf8(bytes)) return bytes;
  Json object = Json::object();
  object[kCp1252Key] = Cp1252ToUtf8(bytes);
  return object;
}

Json DoubleToJson(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return value;
}

Json FlagsToJson(uint32_t flags) {
  Json names = Json::array();
  uint32_t rest = flags;
  for (const FlagName& flag : kFlagNames) {
    if ((flags & flag.bit) == 0) continue;
    names.push_back(flag.name);
    rest &= ~flag.bit;
  }
  if (rest != 0) names.push_back(rest);
  return names;
}

uint32_t FlagsFromJson(const Node& node) {
  uint32_t flags = 0;
  const size_t count = node.ArraySize(64, "flags");
  for (size_t i = 0; i < count; ++i) {
    const Node element = node.Element(i);
    if (element.value().is_number()) {
      flags |= static_cast<uint32_t>(element.Integer(0, UINT32_MAX));
      continue;
    }
    const std::string name = element.String();
    uint32_t bit = 0;
    for (const FlagName& flag : kFlagNames) {
      if (name == flag.name) bit = flag.bit;
    }
    if (bit == 0) element.Fail("unknown flag \"" + name + "\" (known flags: " + FlagNameList() + ")");
    flags |= bit;
  }
  return flags;
}

}  // namespace tool
}  // namespace units
