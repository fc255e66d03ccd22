#include "module/font_holder.h"

#include "catalogue/quantity.h"
#include "platform/system_fonts.h"
#include "units.h"

K_DORVFont::K_DORVFont(int height) {
  units::CopyText(szSymbolFontName, sizeof(szSymbolFontName), "MS Sans Serif");
  units::CopyText(szDialogFontName, sizeof(szDialogFontName), "MS Sans Serif");
  const std::string message_font = units::platform::MessageBoxFontFace();
  if (!message_font.empty()) {
    units::CopyText(szSymbolFontName, sizeof(szSymbolFontName), message_font.c_str());
    units::CopyText(szDialogFontName, sizeof(szDialogFontName), message_font.c_str());
  }
  // Symbols in symbol mode need the font that holds the symbol glyphs.
  if (UnitGetMode(1) == 0) units::CopyText(szSymbolFontName, sizeof(szSymbolFontName), "Ardelin");
  symbol_font_ = units::FontSpec{szSymbolFontName, height};
  dialog_font_ = units::FontSpec{szDialogFontName, height};
}

K_DORVFont::~K_DORVFont() = default;
