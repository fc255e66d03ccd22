// unitstool convert ID VALUE [--to-base] [--relative]
// unitstool convert VALUE FROM TO [--relative]
#include <cstdio>
#include <string>

#include "command.h"
#include "library_queries.h"
#include "model/conversion.h"
#include "number_text.h"
#include "tool_error.h"
#include "unit_lookup.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

struct ConvertOptions {
  bool to_base = false;
  bool relative = false;
  std::vector<std::string> operands;  // ID VALUE, or VALUE FROM TO
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
  // The two forms differ in the number of operands, never in their shape:
  // a quantity identifier is a number too, and "1" is a unit text (Ratio).
  return options->operands.size() == 2 || (options->operands.size() == 3 && !options->to_base);
}

bool Convert(const ConvertOptions& options, uint16_t quantity, double value, double* result) {
  if (options.to_base) {
    return options.relative ? UnitGetBaseRel(quantity, value, *result) : UnitGetBase(quantity, value, *result);
  }
  return options.relative ? UnitGetCurrentRel(quantity, value, *result) : UnitGetCurrent(quantity, value, *result);
}

void PrintResult(double result, const std::string& unit) {
  std::string line = FormatShortest(result);
  if (!unit.empty()) line += " " + unit;
  std::printf("%s\n", line.c_str());
  if (std::fflush(stdout) != 0) throw ToolError("cannot write to standard output");
}

void WarnIfInexact(const CatalogueUnit& unit, const UnitFactors& factors) {
  if (factors.exact) return;
  ReportWarning(*FindCommand("convert"), "the catalogue file does not hold the factors of " + unit.shown +
                                             " that the library has; converted with its single-precision ones");
}

// Through the base unit, in the steps and roundings of the library's own
// conversions.
void ConvertBetweenUnits(const ConvertOptions& options) {
  const double value = ParseDecimal(options.operands[0]);
  const UnitPair units = ChooseUnits(LibraryUnits(), options.operands[1], options.operands[2]);
  const QuantityTable records = DataFolderRecords();
  const UnitFactors from = FactorsOf(units.from, records), to = FactorsOf(units.to, records);
  WarnIfInexact(units.from, from);
  WarnIfInexact(units.to, to);
  const double base = ConvertValue(Direction::kToBase, value, from.factor, from.offset, !options.relative);
  PrintResult(ConvertValue(Direction::kToCurrent, base, to.factor, to.offset, !options.relative), units.to.shown);
}

}  // namespace

int RunConvert(const Arguments& arguments) {
  ConvertOptions options;
  if (!ParseOptions(arguments, &options)) {
    PrintCommandHelp(*FindCommand("convert"), true);
    return kExitUsage;
  }
  if (options.operands.size() == 3) {
    ConvertBetweenUnits(options);
    return kExitOk;
  }
  const uint16_t quantity = ParseQuantityId(options.operands[0]);
  const double value = ParseDecimal(options.operands[1]);
  double result = 0;
  if (!Convert(options, quantity, value, &result)) {
    throw ToolError("no quantity " + std::to_string(quantity) + " in the catalogue");
  }
  PrintResult(result, options.to_base ? UnitGetUnitBaseText(quantity) : UnitGetUnitText(quantity));
  return kExitOk;
}

}  // namespace tool
}  // namespace units
