#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/paths.h"
#include "platform/ascii.h"

namespace units {
namespace platform {

std::string ModuleFolderOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return "./";
  const std::string file = info.dli_fname;
  const size_t slash = file.rfind(kSeparator);
  return slash == std::string::npos ? "./" : file.substr(0, slash + 1);
}

std::string LibraryFolder() { return ModuleFolderOf(reinterpret_cast<const void*>(&LibraryFolder)); }

namespace {

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != kSeparator) folder += kSeparator;
  return folder;
}

}  // namespace

std::string DataFolderOf(const std::string& module_folder) {
  const char* chosen = std::getenv("UNITS_DATA_DIR");
  if (chosen != nullptr && *chosen != '\0') return WithSeparator(chosen);
  const std::string beside = module_folder + "Units/";
  if (IsFolder(beside)) return beside;
#if defined(UNITS_RELATIVE_DATA_DIR) && defined(UNITS_INSTALL_DATA_DIR)
  for (const std::string& installed : {module_folder + UNITS_RELATIVE_DATA_DIR, std::string(UNITS_INSTALL_DATA_DIR)}) {
    if (IsFolder(installed)) return WithSeparator(installed);
  }
#endif
  return beside;
}

std::string SaveFolderFor(const std::string& data_folder) {
  if (access(data_folder.c_str(), W_OK) == 0) return data_folder;
  const std::string shared = CommonAppDataFolder();
  if (shared.empty()) return data_folder;
  // The parents may be missing on a fresh account.
  for (size_t slash = shared.find(kSeparator, 1); slash != std::string::npos; slash = shared.find(kSeparator, slash + 1))
    MakeFolder(shared.substr(0, slash));
  MakeFolder(shared);
  const std::string folder = shared + "/units/";
  MakeFolder(folder);
  return access(folder.c_str(), W_OK) == 0 ? folder : data_folder;
}

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  const size_t slash = path.rfind(kSeparator);
  const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  parts.directory = path.substr(0, name_start);
  const std::string name = path.substr(name_start);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) {
    parts.base = name;
  } else {
    parts.base = name.substr(0, dot);
    parts.extension = name.substr(dot);
  }
  return parts;
}

namespace {

std::string FolderFromEnvironment(const char* variable, const char* below_home) {
  const char* value = std::getenv(variable);
  if (value != nullptr && *value != '\0') return value;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return std::string();
  return std::string(home) + below_home;
}

}  // namespace

std::string CommonAppDataFolder() { return FolderFromEnvironment("XDG_DATA_HOME", "/.local/share"); }
std::string CommonDocumentsFolder() { return FolderFromEnvironment("XDG_DOCUMENTS_DIR", "/Documents"); }

std::string MatchFileNameCase(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return path;
  const size_t slash = path.rfind(kSeparator);
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return path;
  std::string match = path;
  while (const dirent* entry = readdir(dir)) {
    if (EqualsIgnoreCase(entry->d_name, name)) {
      match = (slash == std::string::npos ? std::string() : folder) + entry->d_name;
      break;
    }
  }
  closedir(dir);
  return match;
}

void MakeFolder(const std::string& path) { mkdir(path.c_str(), 0755); }

}  // namespace platform
}  // namespace units
