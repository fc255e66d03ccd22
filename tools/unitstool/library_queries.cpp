#include "library_queries.h"

#include <cstring>

#include "tool_error.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

// Releases a list from the library however the copying ends.
class ListHolder {
 public:
  ListHolder() = default;
  ListHolder(const ListHolder&) = delete;
  ListHolder& operator=(const ListHolder&) = delete;
  ~ListHolder() { UnitDeleteArray(list); }

  t_unitquantity* list = nullptr;
  int count = 0;
};

// Fields are copied one by one: they are packed and may sit at odd addresses.
Variant CopyRecord(const t_unitquantity& record) {
  Variant variant;
  variant.quantity = record.wQuantity;
  variant.subquantity = record.lSubQuantity;
  variant.kind = record.wKind;
  variant.device = record.wDevice;
  variant.index = record.wIndex;
  variant.flags = record.dwFlags;
  variant.name.assign(record.szName, strnlen(record.szName, sizeof(record.szName)));
  variant.symbol.assign(record.szSymbol, strnlen(record.szSymbol, sizeof(record.szSymbol)));
  return variant;
}

std::vector<Variant> CopyList(const ListHolder& holder) {
  std::vector<Variant> variants;
  if (holder.list == nullptr) return variants;
  variants.reserve(static_cast<size_t>(holder.count));
  for (int i = 0; i < holder.count; ++i) variants.push_back(CopyRecord(holder.list[i]));
  return variants;
}

// Texts of the unit list reach at most 10 x 21 bytes plus the closing NUL.
constexpr size_t kUnitListSize = 512;
// A byte no unit text ends with, to see where the library stopped writing.
constexpr char kUntouched = '\x01';
// What the text functions answer for a quantity that is not in the catalogue.
constexpr char kUnknown[] = "(?)";
// Group names are never cut, and none is longer than this.
constexpr size_t kLongestGroupName = 299;

}  // namespace

std::vector<Variant> EnabledQuantities() {
  ListHolder holder;
  UnitGetQuantities(holder.list, holder.count);
  return CopyList(holder);
}

std::vector<Variant> GroupVariants() {
  ListHolder holder;
  UnitGetAllFilterQuantities(holder.list, holder.count);
  return CopyList(holder);
}

std::vector<Variant> AllVariants() {
  ListHolder holder;
  UnitGetAllUnfilteredQuantities(holder.list, holder.count);
  return CopyList(holder);
}

uint16_t ParseQuantityId(const std::string& text) {
  unsigned long value = 0;
  bool valid = !text.empty() && text.size() <= 5;
  for (char c : text) {
    if (c < '0' || c > '9') valid = false;
    if (valid) value = value * 10 + static_cast<unsigned long>(c - '0');
  }
  if (!valid || value > 65535) {
    throw ToolError("\"" + text + "\" is not a quantity identifier (a whole number 0..65535)");
  }
  return static_cast<uint16_t>(value);
}

// Asked through the unit texts: a conversion would answer as well, but it
// also writes a line into KEY.LOG when the conversion log is on. Only a
// quantity without any defined unit reaches the second test, which is
// ambiguous just for a unit text that reads "(?)".
bool QuantityExists(uint16_t quantity) {
  char buffer[kUnitListSize];
  if (UnitGetUnitTextAll(quantity, buffer, sizeof(buffer))) return true;
  return std::strcmp(UnitGetUnitText(quantity), kUnknown) != 0;
}

void RequireQuantity(uint16_t quantity) {
  if (!QuantityExists(quantity)) {
    throw ToolError("no quantity " + std::to_string(quantity) + " in the catalogue");
  }
}

// The list is texts, each closed by a NUL, and one more NUL. An empty unit
// text would read as the end of the list, so the end is taken from where the
// library stopped writing instead.
std::vector<std::string> UnitTexts(uint16_t quantity) {
  std::vector<char> buffer(kUnitListSize, kUntouched);
  std::vector<std::string> texts;
  if (!UnitGetUnitTextAll(quantity, buffer.data(), buffer.size())) return texts;
  size_t end = buffer.size();
  while (end > 0 && buffer[end - 1] == kUntouched) --end;
  // buffer[end - 1] is the closing NUL; every text before it ends with a NUL.
  for (size_t start = 0; start + 1 < end;) {
    const size_t length = strnlen(buffer.data() + start, end - 1 - start);
    texts.emplace_back(buffer.data() + start, length);
    start += length + 1;
  }
  return texts;
}

// The library leaves out a name that does not fit whole, so the buffer grows
// until room for the longest possible name remained unused.
std::vector<std::string> GroupNames() {
  for (size_t size = 4096;; size *= 2) {
    std::vector<char> buffer(size, '\0');
    const int count = UnitGetFilterEntries(buffer.data(), static_cast<unsigned long>(buffer.size()));
    std::vector<std::string> names;
    size_t position = 0;
    for (int i = 0; i < count && position < size; ++i) {
      const size_t length = strnlen(buffer.data() + position, size - position);
      names.emplace_back(buffer.data() + position, length);
      position += length + 1;
    }
    if (position + kLongestGroupName + 3 <= size) return names;
  }
}

}  // namespace tool
}  // namespace units
