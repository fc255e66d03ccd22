#include "service/font_holder.h"

#include "model/quantity.h"
#include "platform/system_fonts.h"

K_DORVFont::K_DORVFont(int height, uint16_t text_mode) {
  units::CopyText(szSymbolFontName, sizeof(szSymbolFontName), "MS Sans Serif");
  units::CopyText(szDialogFontName, sizeof(szDialogFontName), "MS Sans Serif");
  const std::string message_font = units::platform::MessageBoxFontFace();
  if (!message_font.empty()) {
    units::CopyText(szSymbolFontName, sizeof(szSymbolFontName), message_font.c_str());
    units::CopyText(szDialogFontName, sizeof(szDialogFontName), message_font.c_str());
  }
  if (text_mode == units::kSymbolMode) units::CopyText(szSymbolFontName, sizeof(szSymbolFontName), "Ardelin");
  symbol_font_ = units::FontSpec{szSymbolFontName, height};
  dialog_font_ = units::FontSpec{szDialogFontName, height};
}

K_DORVFont::~K_DORVFont() = default;
