// The configuration file "UNITS.INI", section "Units".
#ifndef UNITS_SERVICE_CONFIGURATION_H_
#define UNITS_SERVICE_CONFIGURATION_H_

#include <string>

namespace units {

struct Configuration {
  bool conversion_log = false;        // "Log"
  bool missing_quantity_log = false;  // "QuanNonExisting"
  bool mode_known = false;            // "Mode" is one of the four values
  int edit_mode = 1;
};

Configuration ReadConfiguration(const std::string& path);

}  // namespace units

#endif  // UNITS_SERVICE_CONFIGURATION_H_
