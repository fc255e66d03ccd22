// What every dialog is built with: the library's settings at the call and
// the toolkit services to block on. Dialogs keep a copy; nothing here is
// global, so tests build contexts of their own.
#ifndef UNITS_DIALOGS_DIALOG_CONTEXT_H_
#define UNITS_DIALOGS_DIALOG_CONTEXT_H_

#include "dialogs/toolkit_services.h"
#include "service/dialog_plugin.h"

namespace units {
namespace dialogs {

struct DialogContext {
  DialogSettings settings;
  ToolkitServices* toolkit = nullptr;  // never null in a dialog
};

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_DIALOG_CONTEXT_H_
