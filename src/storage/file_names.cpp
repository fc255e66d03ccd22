#include "storage/file_names.h"

#include "platform/paths.h"

namespace units {

std::string ResolveStoreFileName(const std::string& name, const char* default_extension,
                                 const std::string& data_folder) {
  const platform::PathParts parts = platform::SplitPath(name);
  if (!parts.drive.empty() || !parts.directory.empty()) return platform::MatchFileNameCase(name);
  const std::string extension = parts.extension.empty() ? default_extension : parts.extension;
  return platform::MatchFileNameCase(data_folder + parts.base + extension);
}

std::string ResolveImportFileName(const std::string& name, const std::string& data_folder) {
  platform::PathParts parts = platform::SplitPath(name);
  // Without a directory there is no drive either (on Linux never one).
  if (parts.directory.empty()) {
    const platform::PathParts data = platform::SplitPath(data_folder);
    parts.drive = data.drive;
    parts.directory = data.directory;
  }
  if (parts.extension.empty()) parts.extension = ".udf";
  return platform::MatchFileNameCase(parts.drive + parts.directory + parts.base + parts.extension);
}

}  // namespace units
