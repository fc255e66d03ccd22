// Module-wide values of the frame: rights, storage names, folders and the log
// switches. One instance per process, owned by the library.
#ifndef UNITS_MODULE_MODULE_STATE_H_
#define UNITS_MODULE_MODULE_STATE_H_

#include <cstdint>
#include <string>

namespace units {

constexpr size_t kPathWidth = 260;  // file names keep the width of the stored settings

struct ModuleState {
  uint32_t privilege_mask = 0xFFFFFFFF;
  uint16_t from_file_only = 0;  // g_wFromFileOnly
  std::string default_udf = "DEFAULT.UDF";
  std::string default_fdf = "DEFAULT.FDF";
  std::string working_udf = "DEFAULT.UDF";
  std::string working_fdf = "DEFAULT.FDF";
  // Both end with the path separator. Empty until first needed or attach.
  std::string data_folder;
  std::string log_folder;
  bool conversion_log = false;     // "KEY.LOG"
  bool missing_quantity_log = false;
  // Set when the configuration refused the load: every exported function
  // then gives its failure result.
  bool refused = false;
};

ModuleState& Module();

// The data folder ("Units/" below the library's own folder), ending with '/'.
const std::string& DataFolder();
const std::string& LogFolder();

}  // namespace units

#endif  // UNITS_MODULE_MODULE_STATE_H_
