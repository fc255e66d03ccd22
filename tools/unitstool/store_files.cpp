#include "store_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/ascii.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "storage/file_names.h"
#include "tool_error.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " " + path + (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string());
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool EndsWithIgnoreCase(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoreCase(std::string_view(text).substr(text.size() - suffix.size()), suffix);
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
  struct stat info;
  errno = 0;
  if (stat(path.c_str(), &info) != 0) throw ToolError(SystemError("cannot open", path));
  if (!S_ISREG(info.st_mode)) throw ToolError(path + " is not a regular file");
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
  errno = 0;
  if (!platform::ReplaceFile(path, bytes)) throw ToolError(SystemError("cannot write", path));
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

// The address of an exported function leads to libunits.so, as long as the
// tool is position-independent (tools/CMakeLists.txt makes sure of it).
std::string DataFolder() {
  return platform::DataFolderOf(platform::ModuleFolderOf(reinterpret_cast<const void*>(&UnitGetTextMode)));
}

std::string ResolveStoreFile(const std::string& name, const std::string& data_folder) {
  if (name.empty()) throw ToolError("the file name is empty");
  const platform::PathParts parts = platform::SplitPath(name);
  if (!parts.directory.empty() || !parts.extension.empty()) {
    const std::string path = ResolveStoreFileName(name, ".udf", data_folder);
    if (!parts.directory.empty() || IsRegularFile(path)) return path;
    // A user who means the file in the working folder only needs to say so.
    const std::string hint = IsRegularFile(name) ? " (for the file in the working folder, write ./" + name + ")" : "";
    throw ToolError("there is no file " + name + " in the data folder " + data_folder + hint);
  }
  const std::string udf = ResolveStoreFileName(name, ".udf", data_folder);
  const std::string fdf = ResolveStoreFileName(name, ".fdf", data_folder);
  const bool have_udf = IsRegularFile(udf);
  const bool have_fdf = IsRegularFile(fdf);
  if (have_udf && have_fdf) throw ToolError("both " + udf + " and " + fdf + " exist; give the extension to choose one");
  if (!have_udf && !have_fdf) {
    throw ToolError("there is neither " + name + ".udf nor " + name + ".fdf in the data folder " + data_folder);
  }
  return have_udf ? udf : fdf;
}

}  // namespace tool
}  // namespace units
