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
#include <memory>
#include <string>
#include <vector>

#include "model/group_model.h"
#include "model/quantity.h"
#include "service/font_holder.h"
#include "storage/store_sequences.h"

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

// One enabled combination of the catalogue, as the group editor offers it.
struct QuantityChoice {
  Combination combination;
  std::string symbol;  // the display symbol text, as UTF-8 or legacy bytes
};

// What the main dialog reaches of the library while it is open. The library
// implements it; every call comes from the dialog's thread.
class MainDialogHost {
 public:
  virtual ~MainDialogHost() = default;

  // The state the dialog opens on.
  virtual StoredContents Contents() = 0;
  virtual uint32_t Privileges() = 0;

  // Controls that act at once, whether or not the dialog commits later.
  // Sets the text mode and renews the fonts, which depend on it; returns the
  // settings with the new fonts.
  virtual DialogSettings SetTextMode(uint16_t mode) = 0;
  virtual void SetUnitFormat(int32_t format) = 0;
  // False, and no change, for an index past the library's group table.
  virtual bool SetGroupIndex(int32_t index) = 0;
  // Replaces the group table and its current index in memory, unsaved.
  virtual void ReplaceGroups(std::vector<t_FilterEntry> groups, int32_t current_index) = 0;

  // What the group editor offers and looks symbols up in: the catalogue as
  // last committed, not the dialog's working copies.
  virtual std::vector<QuantityChoice> QuantityChoices() = 0;
  virtual std::shared_ptr<const Catalogue> CommittedCatalogue() = 0;

  // Replaces catalogue, groups and the two display settings and saves them.
  // False when the save failed: then nothing has changed, in memory or in
  // the store.
  virtual bool Commit(const StoredContents& contents) = 0;
};

// The window the main dialog belongs to: the host's widget (UnitEdit(HWND)),
// a native window id (UnitEdit(unsigned long)), or neither.
struct ParentWindow {
  void* widget = nullptr;  // a QWidget*
  unsigned long native = 0;
};

struct DialogPlugin {
  int version;
  // The unit selection for `record`, a copy the dialog may change;
  // `parent_window` is a native window id (an X11 window), 0 for none.
  DialogResult (*select_unit)(const DialogSettings& settings, t_quantity* record, unsigned long parent_window,
                              std::string* why);
  // The main dialog on the library behind `host`; kDialogOk when the user
  // committed and the commit was saved.
  DialogResult (*edit)(const DialogSettings& settings, MainDialogHost* host, const ParentWindow& parent,
                       std::string* why);
};

constexpr int kDialogPluginVersion = 2;
constexpr const char* kDialogPluginFile = "libunits_dialogs.so";
// The plugin's place in an installed tree, below the library's folder.
constexpr const char* kDialogPluginFolder = "units/";
// extern "C" const DialogPlugin* UnitsDialogsPlugin(void);
constexpr const char* kDialogPluginEntry = "UnitsDialogsPlugin";

// Loads the plugin from `module_folder` (or its kDialogPluginFolder); null
// when it is missing, does not
// load or is from another build, with the reason written to the debug
// channel. The service calls it once per process and never unloads it.
const DialogPlugin* LoadDialogPlugin(const std::string& module_folder);

}  // namespace units

#endif  // UNITS_SERVICE_DIALOG_PLUGIN_H_
