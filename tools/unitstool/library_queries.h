// What the commands ask the loaded library, through its public interface
// only, copied into plain values: the records the library hands out are
// packed and must be released through the library, so nothing else in the
// tool holds them.
#ifndef UNITS_TOOLS_UNITSTOOL_LIBRARY_QUERIES_H_
#define UNITS_TOOLS_UNITSTOOL_LIBRARY_QUERIES_H_

#include <cstdint>
#include <string>
#include <vector>

namespace units {
namespace tool {

// One t_unitquantity record, copied.
struct Variant {
  uint16_t quantity = 0;
  int32_t subquantity = 0;
  uint16_t kind = 0;
  uint16_t device = 0;
  uint16_t index = 0;
  uint32_t flags = 0;
  std::string name;
  std::string symbol;
};

// The enabled quantities (UnitGetQuantities, list form).
std::vector<Variant> EnabledQuantities();
// The group query: variants of the current group (UnitGetAllFilterQuantities).
std::vector<Variant> GroupVariants();
// Every active variant, ignoring the group and the select list
// (UnitGetAllUnfilteredQuantities).
std::vector<Variant> AllVariants();

// "4" -> 4. Throws ToolError unless the text is a decimal number 0..65535.
uint16_t ParseQuantityId(const std::string& text);
// Whether the catalogue holds the quantity.
bool QuantityExists(uint16_t quantity);
// Throws ToolError naming the quantity when it is not in the catalogue.
void RequireQuantity(uint16_t quantity);

// The texts of all defined units of a quantity, in slot order, empty texts
// included; empty when the quantity is unknown or has no defined unit.
std::vector<std::string> UnitTexts(uint16_t quantity);

// The group names, "All quantities" first; name i belongs to group index i.
std::vector<std::string> GroupNames();

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_LIBRARY_QUERIES_H_
