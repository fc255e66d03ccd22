#include "store_files.h"

#include <dirent.h>
#include <dlfcn.h>
#include <link.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tool_error.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? "./" : file.substr(0, slash + 1);
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool EndsWithIgnoreCase(const std::string& text, const char* suffix) {
  const size_t length = std::strlen(suffix);
  return text.size() >= length && strcasecmp(text.c_str() + text.size() - length, suffix) == 0;
}

// The file `name` in `folder`, or one whose name differs only in case.
std::string FindInFolder(const std::string& folder, const std::string& name) {
  if (IsRegularFile(folder + name)) return folder + name;
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return "";
  std::string found;
  while (const dirent* entry = readdir(directory)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0 && IsRegularFile(folder + entry->d_name)) {
      found = folder + entry->d_name;
      break;
    }
  }
  closedir(directory);
  return found;
}

// The path of the loaded libunits.so. The address of an exported function
// leads there; should it lead to the executable instead (a position-dependent
// build takes the address of a stub there), ask the loader by name.
std::string LibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&UnitGetTextMode), &info) != 0 && info.dli_fname != nullptr &&
      info.dli_fname[0] != '\0') {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    const std::string executable = length > 0 ? std::string(self, static_cast<size_t>(length)) : "";
    std::string found = info.dli_fname;
    char resolved[4096];
    if (realpath(found.c_str(), resolved) != nullptr) found = resolved;
    if (found != executable) return info.dli_fname;
  }
  void* handle = dlopen("libunits.so", RTLD_LAZY | RTLD_NOLOAD);
  std::string path;
  link_map* map = nullptr;
  if (handle != nullptr && dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr) path = map->l_name;
  if (handle != nullptr) dlclose(handle);
  if (path.empty()) throw ToolError("cannot find the folder of libunits.so");
  return path;
}

}  // namespace

const char* KindName(StoreKind kind) {
  switch (kind) {
    case StoreKind::kUdf:
      return "UDF";
    case StoreKind::kFdf:
      return "FDF";
    case StoreKind::kUnknown:
      break;
  }
  return "unknown";
}

std::string KindPhrase(StoreKind kind) {
  return std::string(kind == StoreKind::kFdf ? "an " : "a ") + KindName(kind) + " file";
}

std::string ReadWholeFile(const std::string& path) {
  if (!IsRegularFile(path)) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0) throw ToolError(path + " is not a regular file");
    throw ToolError(SystemError("cannot open", path));
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw ToolError(SystemError("cannot open", path));
  std::string bytes;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) throw ToolError(SystemError("cannot read", path));
  return bytes;
}

void ReplaceFile(const std::string& path, const std::string& bytes) {
  std::vector<char> temporary(path.begin(), path.end());
  for (char c : std::string(".XXXXXX")) temporary.push_back(c);
  temporary.push_back('\0');
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) throw ToolError(SystemError("cannot create a file beside", path));
  const std::string temporary_path = temporary.data();
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t step = write(descriptor, bytes.data() + written, bytes.size() - written);
    if (step < 0 && errno == EINTR) continue;
    if (step <= 0) break;
    written += static_cast<size_t>(step);
  }
  const int saved_errno = errno;
  // mkstemp makes the file private; give it the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  const bool ok = written == bytes.size() && fchmod(descriptor, 0666 & ~mask) == 0 && fsync(descriptor) == 0;
  close(descriptor);
  if (!ok || std::rename(temporary_path.c_str(), path.c_str()) != 0) {
    if (!ok) errno = saved_errno;
    const std::string message = SystemError("cannot write", path);
    unlink(temporary_path.c_str());
    throw ToolError(message);
  }
}

StoreKind KindFromContent(const std::string& bytes) {
  const auto ff = [&](size_t count) {
    if (bytes.size() < count) return false;
    for (size_t i = 0; i < count; ++i) {
      if (static_cast<unsigned char>(bytes[i]) != 0xFF) return false;
    }
    return true;
  };
  // FDF: i32 -1. UDF: u16 0xFFFF, then its file version, which the writer
  // never makes 0xFFFF.
  if (ff(4)) return StoreKind::kFdf;
  if (ff(2)) return StoreKind::kUdf;
  return StoreKind::kUnknown;
}

StoreKind KindFromName(const std::string& path) {
  if (EndsWithIgnoreCase(path, ".udf")) return StoreKind::kUdf;
  if (EndsWithIgnoreCase(path, ".fdf")) return StoreKind::kFdf;
  return StoreKind::kUnknown;
}

std::string DataFolder() { return FolderOf(LibraryPath()) + "Units/"; }

std::string ResolveStoreFile(const std::string& name) {
  if (name.empty()) throw ToolError("the file name is empty");
  if (name.find('/') != std::string::npos) return name;
  const std::string folder = DataFolder();
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) {
    const std::string found = FindInFolder(folder, name);
    if (found.empty()) {
      // A user who means the file in the working folder only needs to say so.
      const std::string hint = IsRegularFile(name) ? " (for the file in the working folder, write ./" + name + ")" : "";
      throw ToolError("there is no file " + name + " in the data folder " + folder + hint);
    }
    return found;
  }
  const std::string udf = FindInFolder(folder, name + ".udf");
  const std::string fdf = FindInFolder(folder, name + ".fdf");
  if (!udf.empty() && !fdf.empty()) {
    throw ToolError("both " + udf + " and " + fdf + " exist; give the extension to choose one");
  }
  if (udf.empty() && fdf.empty()) {
    throw ToolError("there is neither " + name + ".udf nor " + name + ".fdf in the data folder " + folder);
  }
  return udf.empty() ? fdf : udf;
}

}  // namespace tool
}  // namespace units
