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

// The data folder of a library in `module_folder`, ending with a separator:
// $UNITS_DATA_DIR when set; else "Units/" beside the library when it exists
// (a build tree, or a copied tree); else the installed data folder, found
// from the library's folder (so a moved prefix still works) and then at the
// place fixed at build time; else "Units/" beside the library.
std::string DataFolderOf(const std::string& module_folder);

// Where saved files and the registry store go: `data_folder` when it can be
// written, else $XDG_DATA_HOME/units/ (made if missing), so that a user of a
// system-wide install saves without root and loses nothing. `data_folder`
// when no such folder can be made.
std::string SaveFolderFor(const std::string& data_folder);

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
