// unitstool label ID... [--name]
#include <cstdio>
#include <string>
#include <vector>

#include "command.h"
#include "library_queries.h"
#include "tool_error.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

// What a host writes on an axis: the quantity, a space and the unit part in
// the library's current unit format ("t in s", "t / s", "t / (s)", "t [s]").
// Both texts are the library's own; the format itself is not chosen here.
std::string Label(uint16_t quantity, bool by_name) {
  std::string label = by_name ? UnitGetName(quantity, 0, 0, 0, 0) : UnitGetSymbol(quantity, 0, 0, 0, 0, false);
  const std::string unit_part = UnitGetUnitTextEx(quantity);
  // A unit without text gives an empty unit part, and no trailing blank.
  if (!unit_part.empty()) label += " " + unit_part;
  return label;
}

}  // namespace

int RunLabel(const Arguments& arguments) {
  bool by_name = false;
  std::vector<std::string> operands;
  bool valid = true;
  for (const std::string& argument : arguments) {
    if (argument == "--name") {
      by_name = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      valid = false;
    } else {
      operands.push_back(argument);
    }
  }
  if (!valid || operands.empty()) {
    PrintCommandHelp(*FindCommand("label"), true);
    return kExitUsage;
  }
  // All identifiers are checked first, so that a fault prints no partial list.
  std::vector<uint16_t> quantities;
  for (const std::string& operand : operands) {
    quantities.push_back(ParseQuantityId(operand));
    RequireQuantity(quantities.back());
  }
  for (uint16_t quantity : quantities) std::printf("%s\n", Label(quantity, by_name).c_str());
  if (std::fflush(stdout) != 0) throw ToolError("cannot write to standard output");
  return kExitOk;
}

}  // namespace tool
}  // namespace units
