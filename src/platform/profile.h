// Reading "key = value" settings from an INI file the way the Windows profile
// reader does: section and key names compare without regard to case, blanks
// around names and values are dropped, a value in matching quotes loses them,
// the first occurrence wins, and a missing file, section or key gives the
// default. Values are cut to fit a buffer of `buffer_size` bytes.
#ifndef UNITS_PLATFORM_PROFILE_H_
#define UNITS_PLATFORM_PROFILE_H_

#include <cstddef>
#include <string>

namespace units {
namespace platform {

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& default_value, size_t buffer_size);

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_PROFILE_H_
