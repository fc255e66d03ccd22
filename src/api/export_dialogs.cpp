// The dialog entry points. The dialogs themselves live in a plugin that is
// loaded on the first call, so hosts that never open one never load the
// toolkit. A dialog works on a copy of the record and runs outside every
// lock; its result is committed through the service's writer rule.
#include <atomic>

#include "api/export_guard.h"
#include "platform/debug_output.h"
#include "api/library_host.h"
#include "units.h"

using units::Guarded;
using units::TheService;

namespace {

// The first record with the identifier, copied; false when there is none.
bool CopyQuantity(uint16_t id, t_quantity* copy) {
  return TheService().Reading(false, [&](const units::View& view) {
    const t_quantity* found = view.catalogue->Find(id);
    if (found != nullptr) *copy = *found;
    return found != nullptr;
  });
}

// Runs one dialog of the plugin; kDialogFailed when it could not be shown.
template <typename Show>
units::DialogResult ShowDialog(Show&& show) {
  const units::DialogPlugin* plugin = TheService().Dialogs();
  if (plugin == nullptr) return units::kDialogFailed;
  units::DialogSettings settings = TheService().DialogSettingsCopy();
  settings.main_dialog = &_UnitMainDlg;
  std::string why;
  const units::DialogResult result = show(*plugin, settings, &why);
  if (result == units::kDialogFailed) units::platform::DebugOutput("Mensora: dialog not shown: " + why);
  return result;
}

// One main dialog at a time, process-wide: a second UnitEdit, from one of
// the dialog's own handlers or from another thread, is refused instead of
// editing copies that the first one would then overwrite.
std::atomic<bool> g_main_dialog_open{false};

bool EditInMainDialog(const units::ParentWindow& parent) {
  if (!TheService().HasPrivilege(0x1)) return false;
  if (g_main_dialog_open.exchange(true)) {
    units::platform::DebugOutput("Mensora: dialog not shown: the main dialog is already open");
    return false;
  }
  struct Closed {
    ~Closed() { g_main_dialog_open.store(false); }
  } closed;
  units::LibraryHost host;
  const units::DialogResult result = ShowDialog([&](const units::DialogPlugin& plugin,
                                                    const units::DialogSettings& settings, std::string* why) {
    return plugin.edit(settings, &host, parent, why);
  });
  return result == units::kDialogOk;
}

}  // namespace

bool UnitEdit(HWND parent) {
  return Guarded(false, [&] { return EditInMainDialog(units::ParentWindow{parent, 0}); });
}

bool UnitEdit(unsigned long parent) {
  return Guarded(false, [&] { return EditInMainDialog(units::ParentWindow{nullptr, parent}); });
}

bool UnitOpenSelectUnitDlg(unsigned short quantity, unsigned long parent) {
  return Guarded(false, [&] {
    t_quantity record;
    if (!CopyQuantity(quantity, &record)) return false;
    const units::DialogResult result = ShowDialog([&](const units::DialogPlugin& plugin,
                                                      const units::DialogSettings& settings, std::string* why) {
      return plugin.select_unit(settings, &record, parent, why);
    });
    return result == units::kDialogOk && TheService().SetCurrentUnit(quantity, record.dwUnit);
  });
}
