#include "dialogs/fonts.h"

#include <QWidget>

#include <cmath>

namespace units {
namespace dialogs {

QFont ToolkitFont(const FontSpec& stored) {
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  if (!stored.face.empty()) font.setFamilies({QString::fromUtf8(stored.face.c_str()), font.defaultFamily()});
  // The stored height is the character cell (ascent plus descent); a sans
  // serif face's em square is about 0.86 of its cell.
  if (stored.height > 0) font.setPixelSize(std::max(1, static_cast<int>(std::lround(stored.height * 0.86))));
  return font;
}

void UseDialogFont(QWidget* form, const DialogSettings& settings) {
  if (settings.has_fonts) form->setFont(ToolkitFont(settings.dialog_font));
}

void UseSymbolFont(QWidget* control, const DialogSettings& settings) {
  if (settings.has_fonts) control->setFont(ToolkitFont(settings.symbol_font));
}

}  // namespace dialogs
}  // namespace units
