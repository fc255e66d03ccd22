#include "tools/tool_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace units {
namespace testing {

namespace {

std::string Quote(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

std::string BuiltDataFolder() { return UNITS_TEST_DATA_FOLDER; }

void ToolTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = ::testing::TempDir() + "unitstool_" + info->test_suite_name() + "_" + info->name() + "_" +
            std::to_string(getpid()) + "/";
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
}

void ToolTest::TearDown() { std::filesystem::remove_all(folder_); }

void ToolTest::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ToolTest::Read(const std::string& path) const {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ToolResult ToolTest::Run(const std::vector<std::string>& arguments, const std::string* input) const {
  std::string command = Quote(UNITSTOOL_PATH);
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  if (input != nullptr) {
    Write("stdin.txt", *input);
    command += " <" + Quote(Path("stdin.txt"));
  } else {
    command += " </dev/null";
  }
  command += " >" + Quote(Path("stdout.txt")) + " 2>" + Quote(Path("stderr.txt"));
  const int status = std::system(command.c_str());
  ToolResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = Read(Path("stdout.txt"));
  result.err = Read(Path("stderr.txt"));
  return result;
}

}  // namespace testing
}  // namespace units
