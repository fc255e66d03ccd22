// Errors of the tool. Inside the tool a failure unwinds to the command that
// reports it; nothing here crosses the library's interface.
#ifndef UNITS_TOOLS_UNITSTOOL_TOOL_ERROR_H_
#define UNITS_TOOLS_UNITSTOOL_TOOL_ERROR_H_

#include <stdexcept>
#include <string>

namespace units {
namespace tool {

// A failure the user can act on: bad input, a missing file, a refused write.
// The message is complete and is printed as it is.
class ToolError : public std::runtime_error {
 public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_TOOL_ERROR_H_
