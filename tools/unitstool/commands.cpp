#include <cstdio>
#include <string>

#include "command.h"
#include "unit_lookup.h"

namespace units {
namespace tool {

const std::vector<Command>& Commands() {
  static const std::string convert_details =
      "With two operands, converts VALUE of quantity ID from its base (SI) unit into\n"
      "its current display unit, or with --to-base from the display unit into the\n"
      "base unit. With three operands, converts VALUE from the unit FROM into the\n"
      "unit TO, both given by their unit texts (convert 25 °C °F prints 77 °F); the\n"
      "number of operands alone tells the two forms apart. --relative converts a\n"
      "difference of two values, in which the units' offsets cancel (a step of\n"
      "10 °C is 18 °F).\n"
      "FROM and TO are looked up in every enabled quantity. A text that several\n"
      "quantities have (1/min, %) is taken in the one quantity that has both units;\n"
      "units of different quantities, or of several quantities alike, are refused.\n"
      "A unit text may be spelled in ASCII, these pieces standing for the\n"
      "characters after them:\n" +
      AsciiSpellingHelp() +
      "VALUE is a finite decimal number (\"-40\", \"1.5e3\"); blanks, trailing\n"
      "characters, hexadecimal forms, \"inf\" and \"nan\" are refused.\n"
      "The result is the shortest decimal that reads back to the same double.\n"
      "Exit status 1 for an unknown quantity or unit, units that cannot be\n"
      "converted into each other, or a VALUE that is not a number.\n";
  static const std::vector<Command> commands = {
      {"list", "[--json]", "list the enabled quantities with their units",
       "One line per enabled quantity of the catalogue that the library loaded:\n"
       "identifier, translated name, display symbol (or its plain-text form in text\n"
       "mode), current display unit, base unit, and the texts of all defined units.\n"
       "--json prints the same as {\"quantities\": [{\"id\", \"name\", \"symbol\",\n"
       "\"unit\", \"base\", \"units\"}]}. A text that is not UTF-8 (from a file made on\n"
       "Windows) is shown as Windows-1252: in JSON as {\"windows-1252\": \"...\"}.\n",
       RunList},
      {"convert", "ID VALUE [--to-base] [--relative] | VALUE FROM TO [--relative]", "convert a value between units",
       convert_details.c_str(), RunConvert},
      {"label", "ID... [--name]", "print the axis label of quantities",
       "Prints, for each ID, the display symbol, a space and the unit part in the\n"
       "library's current unit format: \"t in s\", \"t / s\", \"t / (s)\" or \"t [s]\".\n"
       "--name puts the translated name in place of the symbol. The format is the\n"
       "one stored with the catalogue; this command never changes it.\n"
       "Exit status 1, and no output, when one of the IDs is not in the catalogue.\n",
       RunLabel},
      {"names", "[--group N] [--all] [--json]", "list the variants that hosts are offered",
       "Prints the quantity groups (* marks the current one) and one line per variant\n"
       "that the library offers for the current group: quantity, subquantity, kind\n"
       "bits, device, index, flag bits, translated name and symbol.\n"
       "--group N makes group N current for this run only: nothing is saved, and\n"
       "the next run sees the stored group again. --all lists every enabled variant,\n"
       "whatever the group and the select list. --json prints {\"groups\",\n"
       "\"current_group\", \"all\", \"variants\"} with the numbers in decimal.\n",
       RunNames},
      {"dump", "FILE", "print a UDF or FDF file as JSON",
       "Prints the file as JSON in the form that `build` reads (see data/README.md).\n"
       "FILE without a directory lies in the library's data folder (the folder of\n"
       "libunits.so followed by Units/); without an extension, .udf or .fdf is added.\n"
       "The format is told by the file's header, for old files by the extension.\n"
       "Texts that are not UTF-8 are shown as Windows-1252.\n"
       "Exit status 1 for a damaged file, after printing what could be read.\n",
       RunDump},
      {"build", "SOURCE -o FILE", "write a UDF or FDF file from its JSON source",
       "SOURCE is a JSON file (- for standard input) with \"quantities\" (a UDF file)\n"
       "or \"groups\" (an FDF file), in the form described in data/README.md.\n"
       "FILE is replaced as a whole, or left as it was when the source has a fault.\n",
       RunBuild},
      {"select-unit", "ID", "choose the display unit of a quantity in a dialog",
       "Opens the library's unit selection dialog for quantity ID (a window: it needs\n"
       "a display, DISPLAY or QT_QPA_PLATFORM). OK makes the chosen unit the current\n"
       "display unit and prints it; the library saves the catalogue into DEFAULT.UDF\n"
       "and DEFAULT.FDF of its data folder, so later runs and other hosts see it.\n"
       "Exit status 1, and nothing saved, for an unknown quantity, a cancelled dialog\n"
       "or one that could not be shown (the message says why).\n",
       RunSelectUnit},
      {"edit", "", "edit quantities, units and quantity groups in the main dialog",
       "Opens the library's main dialog on the catalogue and groups of DEFAULT.UDF\n"
       "and DEFAULT.FDF in its data folder (a window: it needs a display, DISPLAY or\n"
       "QT_QPA_PLATFORM). \"Close\" saves everything into those two files, so later\n"
       "runs and other hosts see it, and prints what was saved. Exit status 1, and\n"
       "nothing saved, when the window is closed any other way or cannot be shown.\n",
       RunEdit},
  };
  return commands;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& command : Commands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

void ReportError(const Command& command, const std::string& message) {
  std::fprintf(stderr, "unitstool %s: %s\n", command.name, message.c_str());
}

void ReportWarning(const Command& command, const std::string& message) {
  std::fprintf(stderr, "unitstool %s: warning: %s\n", command.name, message.c_str());
}

void PrintCommandHelp(const Command& command, bool to_stderr) {
  std::FILE* out = to_stderr ? stderr : stdout;
  const char* gap = command.synopsis[0] != '\0' ? " " : "";
  std::fprintf(out, "usage: unitstool %s%s%s\n%s.\n\n%s", command.name, gap, command.synopsis, command.summary,
               command.details);
}

bool WantsHelp(const Arguments& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") return true;
  }
  return false;
}

}  // namespace tool
}  // namespace units
