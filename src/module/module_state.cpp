#include "module/module_state.h"

#include "platform/paths.h"

namespace units {

ModuleState& Module() {
  static ModuleState state;
  return state;
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
