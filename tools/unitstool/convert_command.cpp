// unitstool convert ID VALUE [--to-base] [--relative]
#include <cstdio>
#include <string>

#include "command.h"
#include "library_queries.h"
#include "number_text.h"
#include "tool_error.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

struct ConvertOptions {
  bool to_base = false;
  bool relative = false;
  std::vector<std::string> operands;  // ID and VALUE
};

// Everything that begins with "--" is an option, so that a negative VALUE
// ("-40") needs no quoting.
bool ParseOptions(const Arguments& arguments, ConvertOptions* options) {
  for (const std::string& argument : arguments) {
    if (argument == "--to-base") {
      options->to_base = true;
    } else if (argument == "--relative") {
      options->relative = true;
    } else if (argument.rfind("--", 0) == 0) {
      return false;
    } else {
      options->operands.push_back(argument);
    }
  }
  return options->operands.size() == 2;
}

bool Convert(const ConvertOptions& options, uint16_t quantity, double value, double* result) {
  if (options.to_base) {
    return options.relative ? UnitGetBaseRel(quantity, value, *result) : UnitGetBase(quantity, value, *result);
  }
  return options.relative ? UnitGetCurrentRel(quantity, value, *result) : UnitGetCurrent(quantity, value, *result);
}

}  // namespace

int RunConvert(const Arguments& arguments) {
  ConvertOptions options;
  if (!ParseOptions(arguments, &options)) {
    PrintCommandHelp(*FindCommand("convert"), true);
    return kExitUsage;
  }
  const uint16_t quantity = ParseQuantityId(options.operands[0]);
  const double value = ParseDecimal(options.operands[1]);
  double result = 0;
  if (!Convert(options, quantity, value, &result)) {
    throw ToolError("no quantity " + std::to_string(quantity) + " in the catalogue");
  }
  const std::string unit = options.to_base ? UnitGetUnitBaseText(quantity) : UnitGetUnitText(quantity);
  std::string line = FormatShortest(result);
  if (!unit.empty()) line += " " + unit;
  std::printf("%s\n", line.c_str());
  if (std::fflush(stdout) != 0) throw ToolError("cannot write to standard output");
  return kExitOk;
}

}  // namespace tool
}  // namespace units
