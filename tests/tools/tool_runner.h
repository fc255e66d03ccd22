// Runs the built unitstool the way a user does and captures what it says.
#ifndef UNITS_TESTS_TOOLS_TOOL_RUNNER_H_
#define UNITS_TESTS_TOOLS_TOOL_RUNNER_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace units {
namespace testing {

struct ToolResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// A fixture with its own temporary folder.
class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs unitstool with these arguments (no shell expansion), standard input
  // from `input` when given.
  ToolResult Run(const std::vector<std::string>& arguments, const std::string* input = nullptr) const;
  std::string Path(const std::string& name) const { return folder_ + name; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& path) const;

  std::string folder_;  // ends with '/'
};

// The data folder of the build tree, where the build puts DEFAULT.UDF.
std::string BuiltDataFolder();

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_TOOLS_TOOL_RUNNER_H_
