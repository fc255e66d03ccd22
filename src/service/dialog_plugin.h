// The contract between the library and its dialogs plugin
// (libunits_dialogs.so, beside the library). The library loads the plugin on
// the first dialog call and asks it for one table of entry points. Both come
// from one build, so C++ types cross; the version catches a plugin left over
// from another build.
//
// The dialogs work on copies: the library hands a copy of a record over and
// commits what comes back through its writer rule, so threads converting
// meanwhile never see a half-edited record.
#ifndef UNITS_SERVICE_DIALOG_PLUGIN_H_
#define UNITS_SERVICE_DIALOG_PLUGIN_H_

#include <cstdint>
#include <string>

#include "model/quantity.h"
#include "service/font_holder.h"

namespace units {

// What every dialog reads from the library, taken when the dialog is called.
struct DialogSettings {
  int32_t edit_mode = 1;
  uint16_t text_mode = 0;
  bool has_fonts = false;  // false: the dialogs keep the toolkit's fonts
  FontSpec dialog_font;
  FontSpec symbol_font;
  // The exported `_UnitMainDlg`: the open main dialog, or null.
  void** main_dialog = nullptr;
};

// How a dialog ended; kDialogFailed when none could be shown (no display, no
// toolkit), with the reason in the `why` argument.
enum DialogResult : int { kDialogFailed = 0, kDialogOk = 1, kDialogCancel = 2 };

struct DialogPlugin {
  int version;
  // The unit selection for `record`, a copy the dialog may change;
  // `parent_window` is a native window id (an X11 window), 0 for none.
  DialogResult (*select_unit)(const DialogSettings& settings, t_quantity* record, unsigned long parent_window,
                              std::string* why);
};

constexpr int kDialogPluginVersion = 1;
constexpr const char* kDialogPluginFile = "libunits_dialogs.so";
// extern "C" const DialogPlugin* UnitsDialogsPlugin(void);
constexpr const char* kDialogPluginEntry = "UnitsDialogsPlugin";

// Loads the plugin from `module_folder`; null when it is missing, does not
// load or is from another build, with the reason written to the debug
// channel. The service calls it once per process and never unloads it.
const DialogPlugin* LoadDialogPlugin(const std::string& module_folder);

}  // namespace units

#endif  // UNITS_SERVICE_DIALOG_PLUGIN_H_
