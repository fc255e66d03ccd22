// unitstool list [--json]
#include <cstdio>

#include "command.h"
#include "json_node.h"
#include "json_output.h"
#include "library_queries.h"
#include "text_table.h"
#include "tool_error.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

struct QuantityLine {
  Variant quantity;  // id, translated name and display symbol
  std::string unit;
  std::string base;
  std::vector<std::string> units;
};

std::vector<QuantityLine> ReadCatalogue() {
  std::vector<QuantityLine> lines;
  for (Variant& quantity : EnabledQuantities()) {
    QuantityLine line;
    // Copied at once: the library's texts live only until the next call.
    line.unit = UnitGetUnitText(quantity.quantity);
    line.base = UnitGetUnitBaseText(quantity.quantity);
    line.units = UnitTexts(quantity.quantity);
    line.quantity = std::move(quantity);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string JoinTexts(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : ", ") + text;
  return joined;
}

Json TextToJson(const std::string& text) { return TextFieldToJson(text.c_str(), text.size() + 1); }

void PrintJson(const std::vector<QuantityLine>& lines) {
  Json quantities = Json::array();
  for (const QuantityLine& line : lines) {
    Json units = Json::array();
    for (const std::string& text : line.units) units.push_back(TextToJson(text));
    quantities.push_back({{"id", line.quantity.quantity},
                          {"name", TextToJson(line.quantity.name)},
                          {"symbol", TextToJson(line.quantity.symbol)},
                          {"unit", TextToJson(line.unit)},
                          {"base", TextToJson(line.base)},
                          {"units", units}});
  }
  const std::string text = FormatJson(Json{{"quantities", quantities}});
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void PrintTable(const std::vector<QuantityLine>& lines) {
  TextTable table;
  table.AddRow({"id", "name", "symbol", "unit", "base", "units"});
  for (const QuantityLine& line : lines) {
    table.AddRow({std::to_string(line.quantity.quantity), line.quantity.name, line.quantity.symbol, line.unit,
                  line.base, JoinTexts(line.units)});
  }
  table.Print(stdout);
}

}  // namespace

int RunList(const Arguments& arguments) {
  bool json = false;
  for (const std::string& argument : arguments) {
    if (argument != "--json") {
      PrintCommandHelp(*FindCommand("list"), true);
      return kExitUsage;
    }
    json = true;
  }
  const std::vector<QuantityLine> lines = ReadCatalogue();
  // Most often a data folder without its catalogue: say so rather than
  // print an empty table without comment.
  if (lines.empty()) ReportWarning(*FindCommand("list"), "the catalogue holds no enabled quantity");
  if (json) {
    PrintJson(lines);
  } else {
    PrintTable(lines);
  }
  if (std::fflush(stdout) != 0) throw ToolError("cannot write to standard output");
  return kExitOk;
}

}  // namespace tool
}  // namespace units
