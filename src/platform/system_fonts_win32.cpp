#include <windows.h>

#include "platform/system_fonts.h"

namespace units {
namespace platform {

std::string MessageBoxFontFace() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
      metrics.lfMessageFont.lfFaceName[0] != '\0') {
    return std::string(metrics.lfMessageFont.lfFaceName);
  }
  // The face every Windows version has when the system does not say.
  return "MS Sans Serif";
}

}  // namespace platform
}  // namespace units
