#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/paths.h"

namespace units {
namespace platform {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Position after the last separator, or after a drive letter ("C:x.udf"
// lies in the current folder of drive C), else 0.
size_t NameStart(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return i;
  }
  return (path.size() >= 2 && path[1] == ':') ? 2 : 0;
}

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string WithSeparator(std::string folder) {
  if (folder.empty() || !IsSeparator(folder.back())) folder += kSeparator;
  return folder;
}

// Whether a file can be created in `folder`: the attributes do not say
// (read-only means nothing for folders), only the access check of a create
// does. The probe file vanishes with its handle.
bool CanWriteIn(const std::string& folder) {
  const std::string probe = folder + "units-write-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::string ShellFolder(int csidl) {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, folder))) return std::string();
  std::string result(folder);
  while (!result.empty() && IsSeparator(result.back())) result.pop_back();
  return result;
}

}  // namespace

std::string ModuleFolderOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module)) {
    return "./";
  }
  // A path longer than the buffer comes back cut and with the size of the
  // buffer: grow until it fits.
  std::string file(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(module, &file[0], static_cast<DWORD>(file.size()));
    if (n == 0) return "./";
    if (n < file.size()) {
      file.resize(n);
      break;
    }
    if (file.size() >= 32768) return "./";
    file.resize(file.size() * 2);
  }
  const size_t start = NameStart(file);
  return start == 0 ? "./" : file.substr(0, start);
}

std::string LibraryFolder() { return ModuleFolderOf(reinterpret_cast<const void*>(&LibraryFolder)); }

std::string DataFolderOf(const std::string& module_folder) {
  const char* chosen = std::getenv("UNITS_DATA_DIR");
  if (chosen != nullptr && *chosen != '\0') return WithSeparator(chosen);
  // No installed prefix on Windows: the data always lies beside the DLL.
  return module_folder + "Units/";
}

std::string SaveFolderFor(const std::string& data_folder) {
  if (CanWriteIn(data_folder)) return data_folder;
  const std::string shared = CommonAppDataFolder();
  if (shared.empty()) return data_folder;
  const std::string folder = shared + "/units/";
  MakeFolder(folder);
  return CanWriteIn(folder) ? folder : data_folder;
}

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  const size_t drive_end = HasDrive(path) ? 2 : 0;
  parts.drive = path.substr(0, drive_end);
  const size_t name_start = std::max(NameStart(path), drive_end);
  parts.directory = path.substr(drive_end, name_start - drive_end);
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

std::string CommonAppDataFolder() { return ShellFolder(CSIDL_COMMON_APPDATA); }
std::string CommonDocumentsFolder() { return ShellFolder(CSIDL_COMMON_DOCUMENTS); }

// The file system itself ignores letter case.
std::string MatchFileNameCase(const std::string& path) { return path; }

void MakeFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

}  // namespace platform
}  // namespace units
