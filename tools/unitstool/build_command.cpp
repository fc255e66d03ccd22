// unitstool build SOURCE -o FILE
#include <cstdio>
#include <iostream>
#include <iterator>

#include "command.h"
#include "store_documents.h"
#include "store_files.h"
#include "tool_error.h"

namespace units {
namespace tool {

namespace {

struct BuildOptions {
  std::string source;
  std::string output;
};

bool ParseOptions(const Arguments& arguments, BuildOptions* options) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "-o" || argument == "--output") {
      if (i + 1 == arguments.size() || !options->output.empty()) return false;
      options->output = arguments[++i];
    } else if (argument.size() > 1 && argument[0] == '-') {
      return false;
    } else if (options->source.empty()) {
      options->source = argument;
    } else {
      return false;
    }
  }
  return !options->source.empty() && !options->output.empty();
}

std::string ReadSource(const std::string& source) {
  if (source != "-") return ReadWholeFile(source);
  std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  if (std::cin.bad()) throw ToolError("cannot read standard input");
  return text;
}

Json ParseSource(const std::string& name, const std::string& text) {
  try {
    return Json::parse(text);
  } catch (const Json::exception& error) {
    // Syntax errors and numbers beyond a double. What follows the JSON
    // library's "[json.exception.parse_error.101] " tag says where.
    std::string message = error.what();
    const size_t tag_end = message.find("] ");
    if (tag_end != std::string::npos) message = message.substr(tag_end + 2);
    throw ToolError(name + " is not valid JSON: " + message);
  }
}

}  // namespace

int RunBuild(const Arguments& arguments) {
  const Command& command = *FindCommand("build");
  BuildOptions options;
  if (!ParseOptions(arguments, &options)) {
    PrintCommandHelp(command, true);
    return kExitUsage;
  }
  const std::string name = options.source == "-" ? "standard input" : options.source;
  const Json source = ParseSource(name, ReadSource(options.source));
  const StoreKind kind = SourceKind(source);
  const StoreKind named = KindFromName(options.output);
  if (named != StoreKind::kUnknown && named != kind) {
    throw ToolError(options.output + " is named like " + KindPhrase(named) + ", but " + name + " describes " +
                    KindPhrase(kind));
  }
  std::string bytes;
  try {
    bytes = EncodeSource(source);
  } catch (const ToolError& error) {
    throw ToolError(name + ": " + error.what());
  }
  ReplaceFile(options.output, bytes);
  return kExitOk;
}

}  // namespace tool
}  // namespace units
