// The font holder's fonts as toolkit fonts, made when a dialog needs them.
#ifndef UNITS_DIALOGS_FONTS_H_
#define UNITS_DIALOGS_FONTS_H_

#include <QFont>

#include "service/dialog_plugin.h"

class QWidget;

namespace units {
namespace dialogs {

// The stored face and cell height as a QFont. Faces this system lacks (the
// stored names come from Windows installations) fall back to the system's
// sans-serif family through the font configuration.
QFont ToolkitFont(const FontSpec& stored);

// The dialog font on a form, the symbol font on a control; both do nothing
// when the library has no font holder.
void UseDialogFont(QWidget* form, const DialogSettings& settings);
void UseSymbolFont(QWidget* control, const DialogSettings& settings);

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_FONTS_H_
