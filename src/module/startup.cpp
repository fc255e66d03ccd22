#include "module/startup.h"

#include <cstdio>

#include "catalogue/catalogue.h"
#include "groups/group_model.h"
#include "module/font_holder.h"
#include "module/module_state.h"
#include "platform/debug_output.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "storage/store_sequences.h"
#include "text/unit_format.h"
#include "util/ascii.h"

namespace units {

namespace {

constexpr size_t kProfileBuffer = 512;
constexpr int kFontHeight = 15;
constexpr const char* kProduct = "Mensora";

bool SwitchedOn(const std::string& value) { return EqualsIgnoreCase(value, "Yes") || EqualsIgnoreCase(value, "On"); }

// The exact-case word comes first: in any other case it is not a mode.
bool ModeFromText(const std::string& value, int* mode) {
  if (value == "VORTA" || EqualsIgnoreCase(value, "STANDARD") || EqualsIgnoreCase(value, "MAINTENANCE")) {
    *mode = kEditFull;
    return true;
  }
  if (EqualsIgnoreCase(value, "AUTOCREATE")) {
    *mode = kEditAutoCreate;
    return true;
  }
  return false;
}

void CreateSharedFolders() {
  for (const std::string& base : {platform::CommonAppDataFolder(), platform::CommonDocumentsFolder()}) {
    if (!base.empty()) platform::MakeFolder(base + "/Quorin/");
  }
}

void RefuseLoad() {
  const std::string message = std::string(kProduct) + ": Invalid Mode";
  std::fprintf(stderr, "%s\n", message.c_str());
  platform::DebugOutput(message);
}

void ReleaseFontHolder() {
  delete Module().font_holder;
  Module().font_holder = nullptr;
}

}  // namespace

Configuration ReadConfiguration(const std::string& path) {
  Configuration config;
  config.conversion_log = SwitchedOn(platform::ReadProfileString(path, "Units", "Log", "No", kProfileBuffer));
  config.missing_quantity_log =
      SwitchedOn(platform::ReadProfileString(path, "Units", "QuanNonExisting", "No", kProfileBuffer));
  const std::string mode = platform::ReadProfileString(path, "Units", "Mode", "Standard", kProfileBuffer);
  config.mode_known = ModeFromText(mode, &config.edit_mode);
  return config;
}

bool Initialise() {
  ModuleState& state = Module();
  if (state.initialised) return true;
  if (state.font_holder == nullptr) state.font_holder = new K_DORVFont(kFontHeight);
  state.data_folder = state.module_folder + "Units/";
  state.log_folder = state.module_folder + "Units/";
  state.default_udf = "DEFAULT.UDF";
  state.default_fdf = "DEFAULT.FDF";
  state.working_udf = state.default_udf;
  state.working_fdf = state.default_fdf;
  state.privilege_mask = 0xFFFFFFFF;
  const Configuration config = ReadConfiguration(state.data_folder + "UNITS.INI");
  state.conversion_log = config.conversion_log;
  state.missing_quantity_log = config.missing_quantity_log;
  if (!config.mode_known) {
    RefuseLoad();
    ReleaseFontHolder();
    return false;
  }
  state.edit_mode = config.edit_mode;
  state.initialised = true;
  LoadSequence(true);
  return true;
}

bool ExitLib() {
  platform::DebugOutput("Units-DLL: ExitLib Begin");
  ModuleState& state = Module();
  if (state.initialised) {
    TheCatalogue().Clear();
    TheGroups().Clear();
    ReleaseFontHolder();
    state.initialised = false;
  }
  platform::DebugOutput("Units-DLL: ExitLib End");
  return true;
}

void ProcessAttach() {
  // A new attach starts from the start values, also after a detach.
  Module() = ModuleState();
  TheCatalogue().Clear();
  TheGroups().Clear();
  SetTextMode(0);
  SetUnitFormat(0);
  ModuleState& state = Module();
  state.module_folder = platform::LibraryFolder();
  CreateSharedFolders();
  state.root = RootForPath(state.registry_path);
  if (!Initialise()) {
    state.refused = true;
    return;
  }
  char line[128];
  std::snprintf(line, sizeof(line), "%s-DLL: DLL_PROCESS_ATTACH (%s)", "UNITS", kProduct);
  platform::DebugOutput(line);
}

void ProcessDetach() {
  ExitLib();
  char line[128];
  std::snprintf(line, sizeof(line), "%s-DLL: DLL_PROCESS_DETACH (%s)", "UNITS", kProduct);
  platform::DebugOutput(line);
}

}  // namespace units
