#include "module/module_state.h"

#include "platform/paths.h"
#include "util/ascii.h"

namespace units {

namespace internal {

ModuleState* g_module_state = nullptr;

ModuleState& CreateModuleState() {
  if (g_module_state == nullptr) g_module_state = new ModuleState;
  return *g_module_state;
}

}  // namespace internal

RegistryRoot RootForPath(const std::string& registry_path) {
  return StartsWithIgnoreCase(registry_path, ".DEFAULT") ? RegistryRoot::kUsers : RegistryRoot::kLocalMachine;
}

const std::string& DataFolder() {
  ModuleState& state = Module();
  if (state.data_folder.empty()) state.data_folder = platform::LibraryFolder() + "Units/";
  return state.data_folder;
}

const std::string& LogFolder() {
  ModuleState& state = Module();
  if (state.log_folder.empty()) state.log_folder = platform::LibraryFolder() + "Units/";
  return state.log_folder;
}

}  // namespace units
