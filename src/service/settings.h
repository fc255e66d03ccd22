// Module-wide settings: storage names, registry location, folders and the
// edit mode. Owned by the service and changed only under its writer lock.
#ifndef UNITS_SERVICE_SETTINGS_H_
#define UNITS_SERVICE_SETTINGS_H_

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace units {

constexpr size_t kPathWidth = 260;  // file names keep the width of the stored settings

// Edit modes of the quantity editor.
constexpr int32_t kEditFull = 1;
constexpr int32_t kEditAutoCreate = 2;

// Keys of UnitSetValue.
enum SettingKey : uint16_t {
  kKeyPrivileges = 100,  // u32, size exactly 4
  kKeyFileOnly = 101,    // u16, size exactly 2; switches names and reloads
  kKeyWorkingUdf = 102,  // text, size 1..260
  kKeyWorkingFdf = 103,  // text, size 1..260
};

constexpr const char* kFileOnlyUdf = "AppUnits.UDF";
constexpr const char* kFileOnlyFdf = "AppFilter.FDF";
constexpr const char* kDefaultUdf = "DEFAULT.UDF";
constexpr const char* kDefaultFdf = "DEFAULT.FDF";

struct Settings {
  uint16_t from_file_only = 0;
  std::string default_udf = kDefaultUdf;
  std::string default_fdf = kDefaultFdf;
  std::string working_udf = kDefaultUdf;
  std::string working_fdf = kDefaultFdf;
  // Registry location: the key is registry_path + user_part below root.
  std::string registry_path;
  std::string user_part;
  platform::RegistryRoot root = platform::RegistryRoot::kLocalMachine;
  // All end with the path separator.
  std::string module_folder;
  std::string data_folder;
  std::string save_folder;  // data_folder, or the user's folder when it is read-only
  std::string log_folder;
  int32_t edit_mode = kEditFull;
  bool initialised = false;
};

// HKEY_USERS for a path that begins with ".DEFAULT" (any case), else
// HKEY_LOCAL_MACHINE.
platform::RegistryRoot RootForPath(const std::string& registry_path);

}  // namespace units

#endif  // UNITS_SERVICE_SETTINGS_H_
