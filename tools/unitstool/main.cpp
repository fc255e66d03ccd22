// unitstool: the command-line tool over the units library and its files.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "command.h"
#include "global_options.h"
#include "tool_error.h"

namespace {

using units::tool::Commands;

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage: unitstool [--lang LANG] COMMAND [ARGUMENTS]\n\ncommands:\n");
  int width = 0;
  for (const auto& command : Commands()) width = std::max(width, static_cast<int>(std::strlen(command.name)));
  for (const auto& command : Commands()) {
    std::fprintf(out, "  %-*s %s\n", width, command.name, command.summary);
  }
  std::fprintf(out,
               "\noptions for every command (anywhere on the line):\n"
               "  --lang LANG  translate names into LANG (e.g. de); sets UNITS_LANG for this run\n"
               "\n\"unitstool COMMAND --help\" describes one command, \"unitstool --version\"\n"
               "prints the version.\n");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace units::tool;
  Arguments all(argv + 1, argv + argc);
  std::string option_error;
  if (!ApplyGlobalOptions(&all, &option_error)) {
    std::fprintf(stderr, "unitstool: %s\n", option_error.c_str());
    return kExitUsage;
  }
  if (all.empty()) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string name = all[0];
  if (name == "--help" || name == "-h" || name == "help") {
    const Command* command = all.size() > 1 ? FindCommand(all[1]) : nullptr;
    if (command != nullptr) {
      PrintCommandHelp(*command, false);
    } else {
      PrintUsage(stdout);
    }
    return kExitOk;
  }
  // A word as well as an option, as "help" is.
  if (name == "--version" || name == "version") {
    std::printf("unitstool %s\n", UNITS_VERSION);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
  }
  const Command* command = FindCommand(name);
  if (command == nullptr) {
    std::fprintf(stderr, "unitstool: unknown command \"%s\"\n\n", name.c_str());
    PrintUsage(stderr);
    return kExitUsage;
  }
  const Arguments arguments(all.begin() + 1, all.end());
  if (WantsHelp(arguments)) {
    PrintCommandHelp(*command, false);
    return kExitOk;
  }
  try {
    return command->run(arguments);
  } catch (const ToolError& error) {
    ReportError(*command, error.what());
  } catch (const std::exception& error) {
    ReportError(*command, std::string("internal error: ") + error.what());
  }
  return kExitFailure;
}
