// Paths: the library's own folder and the split of a path into its parts.
#ifndef UNITS_PLATFORM_PATHS_H_
#define UNITS_PLATFORM_PATHS_H_

#include <string>

namespace units {
namespace platform {

constexpr char kSeparator = '/';

// Folder of the loaded file (shared library or program) that holds the code
// at `address`, ending with a separator; "./" when the loader cannot say.
// Found from an address, so it follows a library wherever it is copied.
std::string ModuleFolderOf(const void* address);

// The folder of the module this code is linked into.
std::string LibraryFolder();

// The data folder that belongs to a module folder: "Units/" below it.
std::string DataFolderOf(const std::string& module_folder);

struct PathParts {
  std::string drive;      // always empty on Linux
  std::string directory;  // up to and including the last separator
  std::string base;
  std::string extension;  // from the last '.' of the file name on, dot included
};

PathParts SplitPath(const std::string& path);

// Shared per-user folders: $XDG_DATA_HOME (default ~/.local/share) and
// $XDG_DOCUMENTS_DIR (default ~/Documents), each without a trailing separator;
// empty when neither the variable nor HOME is set.
std::string CommonAppDataFolder();
std::string CommonDocumentsFolder();

// File names compare without regard to case where the stored files come
// from: `path` itself when it exists, else the file in the same folder whose
// name differs only in ASCII letter case, else `path` unchanged.
std::string MatchFileNameCase(const std::string& path);

// Creates a folder (one level) if it is missing; failures are left to the
// first use of the folder.
void MakeFolder(const std::string& path);

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_PATHS_H_
