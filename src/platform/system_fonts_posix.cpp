#include "platform/system_fonts.h"

namespace units {
namespace platform {

// No toolkit runs at load time on Linux, and asking one would create it; the
// dialogs map the stored names to real fonts when they are built.
std::string MessageBoxFontFace() { return std::string(); }

}  // namespace platform
}  // namespace units
