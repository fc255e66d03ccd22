// unitstool names [--group N] [--all] [--json]
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

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

struct NamesOptions {
  std::optional<std::string> group;  // as given; checked by the library
  bool all = false;
  bool json = false;
};

bool ParseOptions(const Arguments& arguments, NamesOptions* options) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--all") {
      options->all = true;
    } else if (argument == "--json") {
      options->json = true;
    } else if (argument == "--group" && i + 1 < arguments.size() && !options->group) {
      options->group = arguments[++i];
    } else {
      return false;
    }
  }
  return true;
}

int ParseGroupIndex(const std::string& text) {
  long value = 0;
  bool valid = !text.empty() && text.size() <= 9;
  for (char c : text) {
    if (c < '0' || c > '9') valid = false;
    if (valid) value = value * 10 + (c - '0');
  }
  if (!valid) throw ToolError("\"" + text + "\" is not a group number (a whole number 0 or above)");
  return static_cast<int>(value);
}

// The library keeps the index only in memory; no save runs in this process,
// so the stored choice stays as it was.
void SelectGroup(const std::string& text, const std::vector<std::string>& names) {
  const int index = ParseGroupIndex(text);
  if (!UnitSetFilterIndex(index)) {
    throw ToolError("no group " + text + ": the groups are numbered 0.." + std::to_string(names.size() - 1) +
                    " (see `unitstool names`)");
  }
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%x", static_cast<unsigned>(value));
  return text;
}

std::string GroupName(const std::vector<std::string>& names, int index) {
  return index >= 0 && static_cast<size_t>(index) < names.size() ? names[static_cast<size_t>(index)] : "?";
}

Json TextToJson(const std::string& text) { return TextFieldToJson(text.c_str(), text.size() + 1); }

void PrintJson(const std::vector<std::string>& names, int current, bool all, const std::vector<Variant>& variants) {
  Json groups = Json::array();
  for (const std::string& name : names) groups.push_back(TextToJson(name));
  Json list = Json::array();
  for (const Variant& v : variants) {
    list.push_back({{"quantity", v.quantity},
                    {"subquantity", v.subquantity},
                    {"kind", v.kind},
                    {"device", v.device},
                    {"index", v.index},
                    {"flags", v.flags},
                    {"name", TextToJson(v.name)},
                    {"symbol", TextToJson(v.symbol)}});
  }
  const Json document = {{"groups", groups}, {"current_group", current}, {"all", all}, {"variants", list}};
  const std::string text = FormatJson(document);
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void PrintText(const std::vector<std::string>& names, int current, bool all, const std::vector<Variant>& variants) {
  std::printf("groups (* current):\n");
  TextTable groups;
  for (size_t i = 0; i < names.size(); ++i) {
    groups.AddRow({static_cast<int>(i) == current ? "*" : " ", std::to_string(i), names[i]});
  }
  groups.Print(stdout);
  if (all) {
    std::printf("\nall variants (the group and the select list are not applied):\n");
  } else {
    std::printf("\nvariants in group %d %s:\n", current, GroupName(names, current).c_str());
  }
  if (variants.empty()) {
    std::printf("(none)\n");
    return;
  }
  TextTable table;
  table.AddRow({"quantity", "subquantity", "kind", "device", "index", "flags", "name", "symbol"});
  for (const Variant& v : variants) {
    table.AddRow({std::to_string(v.quantity), std::to_string(v.subquantity), Hex(v.kind), std::to_string(v.device),
                  std::to_string(v.index), Hex(v.flags), v.name, v.symbol});
  }
  table.Print(stdout);
}

}  // namespace

int RunNames(const Arguments& arguments) {
  NamesOptions options;
  if (!ParseOptions(arguments, &options)) {
    PrintCommandHelp(*FindCommand("names"), true);
    return kExitUsage;
  }
  const std::vector<std::string> names = GroupNames();
  if (options.group) SelectGroup(*options.group, names);
  const int current = UnitGetFilterIndex();
  const std::vector<Variant> variants = options.all ? AllVariants() : GroupVariants();
  if (options.json) {
    PrintJson(names, current, options.all, variants);
  } else {
    PrintText(names, current, options.all, variants);
  }
  if (std::fflush(stdout) != 0) throw ToolError("cannot write to standard output");
  return kExitOk;
}

}  // namespace tool
}  // namespace units
