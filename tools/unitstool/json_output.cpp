#include "json_output.h"

namespace units {
namespace tool {

namespace {

constexpr size_t kLineWidth = 100;
constexpr int kIndent = 2;

std::string Inline(const Json& value) {
  if (value.is_object()) {
    std::string text = "{";
    for (const auto& item : value.items()) {
      text += (text.size() > 1 ? ", " : " ") + Json(item.key()).dump() + ": " + Inline(item.value());
    }
    return text + (value.empty() ? "}" : " }");
  }
  if (value.is_array()) {
    std::string text = "[";
    for (const Json& element : value) text += (text.size() > 1 ? ", " : "") + Inline(element);
    return text + "]";
  }
  return value.dump();
}

void Format(const Json& value, int depth, size_t prefix_width, std::string* out) {
  const std::string flat = Inline(value);
  const bool container = value.is_object() || value.is_array();
  if (!container || value.empty() || depth * kIndent + prefix_width + flat.size() <= kLineWidth) {
    *out += flat;
    return;
  }
  const std::string inner(static_cast<size_t>((depth + 1) * kIndent), ' ');
  *out += value.is_object() ? "{\n" : "[\n";
  bool first = true;
  for (const auto& item : value.items()) {
    *out += first ? "" : ",\n";
    first = false;
    *out += inner;
    size_t key_width = 0;
    if (value.is_object()) {
      const std::string key = Json(item.key()).dump() + ": ";
      *out += key;
      key_width = key.size();
    }
    Format(item.value(), depth + 1, key_width, out);
  }
  *out += "\n" + std::string(static_cast<size_t>(depth * kIndent), ' ') + (value.is_object() ? "}" : "]");
}

}  // namespace

std::string FormatJson(const Json& value) {
  std::string out;
  Format(value, 0, 0, &out);
  return out + "\n";
}

}  // namespace tool
}  // namespace units
