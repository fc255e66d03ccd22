#include "storage/file_names.h"

#include "module/module_state.h"
#include "platform/paths.h"

namespace units {

std::string ResolveStoreFileName(const std::string& name, const char* default_extension) {
  const platform::PathParts parts = platform::SplitPath(name);
  if (!parts.drive.empty() || !parts.directory.empty()) return platform::MatchFileNameCase(name);
  const std::string extension = parts.extension.empty() ? default_extension : parts.extension;
  return platform::MatchFileNameCase(DataFolder() + parts.base + extension);
}

}  // namespace units
