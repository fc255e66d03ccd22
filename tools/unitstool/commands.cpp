#include <cstdio>

#include "command.h"

namespace units {
namespace tool {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
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
  std::fprintf(out, "usage: unitstool %s %s\n%s.\n\n%s", command.name, command.synopsis, command.summary,
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
