// Module-wide values of the frame: rights, storage names, folders and the log
// switches. One instance per process, owned by the library.
#ifndef UNITS_MODULE_MODULE_STATE_H_
#define UNITS_MODULE_MODULE_STATE_H_

#include <cstdint>
#include <string>

class K_DORVFont;

namespace units {

constexpr size_t kPathWidth = 260;  // file names keep the width of the stored settings

// Which part of the key-value store a registry path lies in.
enum class RegistryRoot { kLocalMachine, kUsers };

// Edit modes of the quantity editor.
constexpr int32_t kEditRestricted = 0;
constexpr int32_t kEditFull = 1;
constexpr int32_t kEditAutoCreate = 2;

struct ModuleState {
  uint32_t privilege_mask = 0xFFFFFFFF;
  uint16_t from_file_only = 0;  // g_wFromFileOnly
  std::string default_udf = "DEFAULT.UDF";
  std::string default_fdf = "DEFAULT.FDF";
  std::string working_udf = "DEFAULT.UDF";
  std::string working_fdf = "DEFAULT.FDF";
  // Registry location: the key is registry_path + user_part below root.
  std::string registry_path;
  std::string user_part;
  uint16_t user_number = 1000;
  RegistryRoot root = RegistryRoot::kLocalMachine;
  // All end with the path separator. Empty until first needed or attach.
  std::string module_folder;
  std::string data_folder;
  std::string log_folder;
  bool conversion_log = false;     // "KEY.LOG"
  bool missing_quantity_log = false;
  int32_t edit_mode = kEditFull;
  bool initialised = false;
  K_DORVFont* font_holder = nullptr;  // owned; made at initialisation
  // Set when the configuration refused the load: every exported function
  // then gives its failure result.
  bool refused = false;
};

namespace internal {
extern ModuleState* g_module_state;
ModuleState& CreateModuleState();
}  // namespace internal

// The one instance, made on first use and never destroyed (detach may run
// after ordinary statics are gone). Inline: conversions read it per call.
inline ModuleState& Module() {
  ModuleState* state = internal::g_module_state;
  return state != nullptr ? *state : internal::CreateModuleState();
}

// HKEY_USERS for a path that begins with ".DEFAULT" (any case), else
// HKEY_LOCAL_MACHINE.
RegistryRoot RootForPath(const std::string& registry_path);

// The data folder ("Units/" below the library's own folder), ending with '/'.
const std::string& DataFolder();
const std::string& LogFolder();

}  // namespace units

#endif  // UNITS_MODULE_MODULE_STATE_H_
