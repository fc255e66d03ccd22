// unitstool: the command-line tool over the units library and its files.
#include <cstdio>
#include <exception>
#include <string>

#include "command.h"
#include "tool_error.h"

namespace {

using units::tool::Commands;

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage: unitstool COMMAND [ARGUMENTS]\n\ncommands:\n");
  for (const auto& command : Commands()) {
    std::fprintf(out, "  %-6s %-16s %s\n", command.name, command.synopsis, command.summary);
  }
  std::fprintf(out, "\n\"unitstool COMMAND --help\" describes one command.\n");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace units::tool;
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    const Command* command = argc > 2 ? FindCommand(argv[2]) : nullptr;
    if (command != nullptr) {
      PrintCommandHelp(*command, false);
    } else {
      PrintUsage(stdout);
    }
    return kExitOk;
  }
  const Command* command = FindCommand(name);
  if (command == nullptr) {
    std::fprintf(stderr, "unitstool: unknown command \"%s\"\n\n", name.c_str());
    PrintUsage(stderr);
    return kExitUsage;
  }
  const Arguments arguments(argv + 2, argv + argc);
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
