#include "service/configuration.h"

#include "platform/ascii.h"
#include "platform/profile.h"
#include "service/settings.h"

namespace units {

namespace {

constexpr size_t kProfileBuffer = 512;

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

}  // namespace

platform::RegistryRoot RootForPath(const std::string& registry_path) {
  return StartsWithIgnoreCase(registry_path, ".DEFAULT") ? platform::RegistryRoot::kUsers
                                                         : platform::RegistryRoot::kLocalMachine;
}

Configuration ReadConfiguration(const std::string& path) {
  Configuration config;
  config.conversion_log = SwitchedOn(platform::ReadProfileString(path, "Units", "Log", "No", kProfileBuffer));
  config.missing_quantity_log =
      SwitchedOn(platform::ReadProfileString(path, "Units", "QuanNonExisting", "No", kProfileBuffer));
  const std::string mode = platform::ReadProfileString(path, "Units", "Mode", "Standard", kProfileBuffer);
  config.mode_known = ModeFromText(mode, &config.edit_mode);
  return config;
}

}  // namespace units
