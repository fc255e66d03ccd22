// The face name of the system's message-box font, or empty where the system
// does not say (Linux without a running toolkit).
#ifndef UNITS_PLATFORM_SYSTEM_FONTS_H_
#define UNITS_PLATFORM_SYSTEM_FONTS_H_

#include <string>

namespace units {
namespace platform {

std::string MessageBoxFontFace();

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_SYSTEM_FONTS_H_
