// unitstool dump FILE
#include <cstdio>

#include "command.h"
#include "json_output.h"
#include "store_documents.h"
#include "store_files.h"
#include "tool_error.h"

namespace units {
namespace tool {

namespace {

StoreKind ChooseKind(const std::string& path, const std::string& bytes, std::vector<std::string>* warnings) {
  const StoreKind by_content = KindFromContent(bytes);
  const StoreKind by_name = KindFromName(path);
  if (by_content == StoreKind::kUnknown && by_name == StoreKind::kUnknown) {
    throw ToolError("cannot tell whether " + path +
                    " is a UDF or an FDF file: it has no current header and its name ends neither in .udf nor .fdf");
  }
  if (by_content != StoreKind::kUnknown && by_name != StoreKind::kUnknown && by_content != by_name) {
    warnings->push_back(path + " is named like " + KindPhrase(by_name) + " but has the header of " +
                        KindPhrase(by_content) + "; it is read as " + KindPhrase(by_content));
  }
  return by_content != StoreKind::kUnknown ? by_content : by_name;
}

}  // namespace

int RunDump(const Arguments& arguments) {
  const Command& command = *FindCommand("dump");
  if (arguments.size() != 1 || (arguments[0].size() > 1 && arguments[0][0] == '-')) {
    PrintCommandHelp(command, true);
    return kExitUsage;
  }
  const std::string path = ResolveStoreFile(arguments[0], DataFolder());
  const std::string bytes = ReadWholeFile(path);
  if (bytes.empty()) throw ToolError(path + " is empty");
  std::vector<std::string> warnings;
  const StoreKind kind = ChooseKind(path, bytes, &warnings);
  DecodedFile file = DecodeStoreFile(bytes, kind);
  const std::string text = FormatJson(file.json);
  std::fwrite(text.data(), 1, text.size(), stdout);
  for (const std::string& warning : warnings) ReportWarning(command, warning);
  for (const std::string& warning : file.warnings) ReportWarning(command, path + ": " + warning);
  if (std::fflush(stdout) != 0) throw ToolError("cannot write to standard output");
  if (!file.damage.empty()) {
    ReportError(command, path + " is damaged: " + file.damage + "; the output shows what the library reads");
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tool
}  // namespace units
