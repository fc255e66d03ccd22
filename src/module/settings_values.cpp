#include "module/settings_values.h"

#include <cstring>
#include <string>

#include "catalogue/catalogue.h"
#include "module/module_state.h"
#include "storage/store_sequences.h"

namespace units {

namespace {

// Copies at most `size` bytes and at most kPathWidth - 1 characters, so the
// name is always terminated even when the host's text is not.
std::string BoundedName(const void* value, unsigned long size) {
  const char* text = static_cast<const char*>(value);
  size_t length = strnlen(text, size);
  if (length > kPathWidth - 1) length = kPathWidth - 1;
  return std::string(text, length);
}

}  // namespace

void SwitchFileOnlyMode(uint16_t on) {
  ModuleState& state = Module();
  state.from_file_only = on;
  state.working_udf = on != 0 ? kFileOnlyUdf : state.default_udf;
  state.working_fdf = on != 0 ? kFileOnlyFdf : state.default_fdf;
}

bool SetModuleValue(uint16_t key, const void* value, unsigned long size) {
  if (value == nullptr) return false;
  ModuleState& state = Module();
  switch (key) {
    case kKeyPrivileges: {
      if (size != 4) return false;
      uint32_t mask;
      std::memcpy(&mask, value, sizeof(mask));
      state.privilege_mask = mask;
      return true;
    }
    case kKeyFileOnly: {
      if (size != 2) return false;
      uint16_t on;
      std::memcpy(&on, value, sizeof(on));
      SwitchFileOnlyMode(on);
      TheCatalogue().Clear();
      LoadSequence(true);
      return true;
    }
    case kKeyWorkingUdf:
      if (size > kPathWidth) return false;
      state.working_udf = BoundedName(value, size);
      return false;
    case kKeyWorkingFdf:
      if (size > kPathWidth) return false;
      state.working_fdf = BoundedName(value, size);
      return false;
    default:
      return false;
  }
}

}  // namespace units
