// The module values a host sets by key through UnitSetValue.
#ifndef UNITS_MODULE_SETTINGS_VALUES_H_
#define UNITS_MODULE_SETTINGS_VALUES_H_

#include <cstdint>

namespace units {

enum SettingKey : uint16_t {
  kKeyPrivileges = 100,   // u32, size exactly 4
  kKeyFileOnly = 101,     // u16, size exactly 2; switches names and reloads
  kKeyWorkingUdf = 102,   // text, size at most 260
  kKeyWorkingFdf = 103,   // text, size at most 260
};

constexpr const char* kFileOnlyUdf = "AppUnits.UDF";
constexpr const char* kFileOnlyFdf = "AppFilter.FDF";

// Applies one value; the result is that of the exported call (keys 102 and
// 103 report false even when they store the name).
bool SetModuleValue(uint16_t key, const void* value, unsigned long size);

// Switches file-only mode and the working names, without reloading.
void SwitchFileOnlyMode(uint16_t on);

}  // namespace units

#endif  // UNITS_MODULE_SETTINGS_VALUES_H_
