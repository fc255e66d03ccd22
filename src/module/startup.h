// Process attach and detach: folders, configuration, fonts, and the first
// load of catalogue and groups; and their release.
#ifndef UNITS_MODULE_STARTUP_H_
#define UNITS_MODULE_STARTUP_H_

#include <string>

namespace units {

// Runs when the library is loaded (and may run again after a detach).
// A configuration with an unknown "Mode" leaves the library loaded but
// refusing every call.
void ProcessAttach();
void ProcessDetach();

// Builds what the library needs; a second call does nothing. False when the
// configuration names an unknown mode.
bool Initialise();
bool ExitLib();

struct Configuration {
  bool conversion_log = false;
  bool missing_quantity_log = false;
  bool mode_known = false;
  int edit_mode = 1;
};

// Reads section "Units" of the configuration file at `path`.
Configuration ReadConfiguration(const std::string& path);

}  // namespace units

#endif  // UNITS_MODULE_STARTUP_H_
