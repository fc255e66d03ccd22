// Reading a JSON source with messages that say where the fault is, such as
// "quantities[3] (id 4).units[2].factor: ...". Every reader of the source
// formats goes through Node, so unknown keys and wrong types are refused the
// same way everywhere.
#ifndef UNITS_TOOLS_UNITSTOOL_JSON_NODE_H_
#define UNITS_TOOLS_UNITSTOOL_JSON_NODE_H_

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

namespace units {
namespace tool {

using Json = nlohmann::ordered_json;

// The records are packed, so their fields may sit at any address; the JSON
// library takes references. Fields go through Load, which copies them.
template <typename T>
constexpr T Load(T value) {
  return value;
}

class Node {
 public:
  Node(const Json& value, std::string path) : value_(&value), path_(std::move(path)) {}

  const Json& value() const { return *value_; }
  const std::string& path() const { return path_; }
  bool IsNull() const { return value_->is_null(); }

  // Throws ToolError with the path in front of `message`.
  [[noreturn]] void Fail(const std::string& message) const;

  // The readers below Fail when the node is not of the type they read.
  // An object whose keys are all in `allowed`.
  void ExpectObject(std::initializer_list<const char*> allowed) const;
  size_t ArraySize(size_t max_size, const char* what) const;

  bool Has(const char* key) const;
  Node Member(const char* key) const;  // Fails when missing
  Node Element(size_t index) const;
  // A copy with another path, e.g. once an identifier is known.
  Node Renamed(std::string path) const { return Node(*value_, std::move(path)); }

  int64_t Integer(int64_t min, int64_t max) const;
  bool Boolean() const;
  std::string String() const;
  // A factor or offset: a JSON number, or a string that ParseExactNumber reads.
  double ExactNumber() const;

 private:
  const Json* value_;
  std::string path_;
};

// A text field of `width` bytes: a JSON string (UTF-8, stored as it is) or
// {"windows-1252": "..."} (stored as Windows-1252 bytes). Fails when the text
// does not fit with its terminator or holds a NUL.
void ReadTextField(const Node& node, char* field, size_t width);
// The field up to its terminator, as ReadTextField reads it back.
Json TextFieldToJson(const char* field, size_t width);

// Double values as JSON: numbers that read back to the same bits; infinities
// and NaN, which JSON numbers cannot hold, as the words ExactNumber reads.
Json DoubleToJson(double value);

// Subquantity flag words as lists of names; bits without a name as one
// number at the end.
Json FlagsToJson(uint32_t flags);
uint32_t FlagsFromJson(const Node& node);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_JSON_NODE_H_
