// K_DORVFont: the fonts every dialog uses. At start-up it keeps only face
// names and height; toolkit font objects are made by the first dialog that
// needs them, so loading the library creates no toolkit object.
#ifndef UNITS_SERVICE_FONT_HOLDER_H_
#define UNITS_SERVICE_FONT_HOLDER_H_

#include <cstdint>
#include <string>

namespace units {

struct FontSpec {
  std::string face;
  int height = 0;  // cell height in pixels
};

}  // namespace units

class K_DORVFont {
 public:
  // In symbol mode (text_mode 0) symbols need the font that holds the symbol
  // glyphs.
  K_DORVFont(int height, uint16_t text_mode);
  virtual ~K_DORVFont();

  // Font for symbols: list views and symbol fields.
  const units::FontSpec& SymbolFont() const { return symbol_font_; }
  // Font for the dialogs' own texts.
  const units::FontSpec& DialogFont() const { return dialog_font_; }

  const char* SymbolFontName() const { return szSymbolFontName; }
  const char* DialogFontName() const { return szDialogFontName; }

 private:
  units::FontSpec symbol_font_;
  units::FontSpec dialog_font_;
  char szSymbolFontName[100];
  char szDialogFontName[100];
};

#endif  // UNITS_SERVICE_FONT_HOLDER_H_
