// Switching the storage location.
#include <cstring>
#include <string>

#include "catalogue/catalogue.h"
#include "module/export_guard.h"
#include "module/module_state.h"
#include "platform/paths.h"
#include "storage/store_sequences.h"
#include "storage/udf_file.h"
#include "units.h"

namespace units {
namespace {

constexpr size_t kMaxRegistryPath = 1999;
constexpr size_t kMaxUserPart = 199;

std::string Bounded(const char* text, size_t limit) {
  if (text == nullptr) return std::string();
  return std::string(text, strnlen(text, limit));
}

// Without drive or directory the file lies in the data folder; without
// extension it is a ".udf" file.
std::string ResolveImportFile(const std::string& file) {
  platform::PathParts parts = platform::SplitPath(file);
  if (parts.directory.empty()) {
    const platform::PathParts data = platform::SplitPath(DataFolder());
    parts.drive = data.drive;
    parts.directory = data.directory;
  }
  if (parts.extension.empty()) parts.extension = ".udf";
  return platform::MatchFileNameCase(parts.drive + parts.directory + parts.base + parts.extension);
}

void ChangeUserInfo(const char* path, const char* user, unsigned short number) {
  ModuleState& state = Module();
  state.registry_path = Bounded(path, kMaxRegistryPath);
  state.user_part = Bounded(user, kMaxUserPart);
  state.user_number = number;
  state.root = RootForPath(state.registry_path);
  TheCatalogue().Clear();
  LoadSequence(true);
  state.edit_mode = kEditFull;
}

bool ChangeUdf(const char* path, const char* user, const char* file) {
  ModuleState& state = Module();
  state.user_part = Bounded(user, kMaxUserPart);
  state.registry_path = Bounded(path, kMaxRegistryPath);
  if (!state.registry_path.empty() && state.registry_path.back() != '\\') state.registry_path += '\\';
  TheCatalogue().Clear();
  LoadSequence(false);
  if (TheCatalogue().Count() > 0) return true;
  // The settings of the file's header are not applied here.
  UdfContents contents = ReadUdfFile(ResolveImportFile(file));
  TheCatalogue().Replace(std::move(contents.records));
  SaveSequence();
  return TheCatalogue().Count() > 0;
}

}  // namespace
}  // namespace units

void UnitChangeUserInfo(char* path, char* user, unsigned short number) {
  units::Guarded(false, [&] {
    if (path == nullptr) return false;
    units::ChangeUserInfo(path, user, number);
    return true;
  });
}

bool UnitChangeUDF(char* path, char* user, char* file) {
  return units::Guarded(false, [&] {
    if (path == nullptr || file == nullptr) return false;
    return units::ChangeUdf(path, user, file);
  });
}
