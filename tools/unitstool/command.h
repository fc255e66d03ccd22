// The subcommands of unitstool. Each lives in its own file and is listed in
// the table of commands.cpp; main.cpp only dispatches.
#ifndef UNITS_TOOLS_UNITSTOOL_COMMAND_H_
#define UNITS_TOOLS_UNITSTOOL_COMMAND_H_

#include <string>
#include <vector>

namespace units {
namespace tool {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // bad input, missing or damaged file
constexpr int kExitUsage = 2;    // the command line itself is wrong

using Arguments = std::vector<std::string>;

struct Command {
  const char* name;
  const char* synopsis;  // the arguments, for the usage line
  const char* summary;   // one line for the overview
  const char* details;   // the rest of the command's help text
  // Receives the arguments after the command name. May throw ToolError,
  // which the dispatcher reports with the command's name.
  int (*run)(const Arguments& arguments);
};

const std::vector<Command>& Commands();
const Command* FindCommand(const std::string& name);

// "unitstool NAME: message" on stderr.
void ReportError(const Command& command, const std::string& message);
void ReportWarning(const Command& command, const std::string& message);
// The usage line and details on stdout (asked for) or stderr (after a fault).
void PrintCommandHelp(const Command& command, bool to_stderr);
bool WantsHelp(const Arguments& arguments);

int RunDump(const Arguments& arguments);
int RunBuild(const Arguments& arguments);
int RunList(const Arguments& arguments);
int RunConvert(const Arguments& arguments);
int RunLabel(const Arguments& arguments);
int RunNames(const Arguments& arguments);
int RunSelectUnit(const Arguments& arguments);
int RunEdit(const Arguments& arguments);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_COMMAND_H_
