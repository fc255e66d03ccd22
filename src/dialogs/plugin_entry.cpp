// The plugin's one exported symbol: the table of dialog entry points that
// the library looks up after loading it.
#include <QWindow>

#include <exception>
#include <memory>

#include "dialogs/application.h"
#include "dialogs/main_dialog.h"
#include "dialogs/qt_toolkit_services.h"
#include "dialogs/unit_select_dialog.h"
#include "service/dialog_plugin.h"

namespace units {
namespace dialogs {
namespace {

// The host's native window, or null for 0 and where the platform has no
// foreign windows (offscreen).
std::unique_ptr<QWindow> ForeignWindow(unsigned long native_window) {
  if (native_window == 0) return nullptr;
  return std::unique_ptr<QWindow>(QWindow::fromWinId(static_cast<WId>(native_window)));
}

// Runs `show` once the toolkit is ready; toolkit failures and exceptions
// become kDialogFailed with a reason, never an abort.
template <typename Show>
DialogResult Run(std::string* why, Show&& show) noexcept {
  try {
    if (!EnsureApplication(why)) return kDialogFailed;
    return show();
  } catch (const std::exception& error) {
    *why = error.what();
  } catch (...) {
    *why = "unknown error in the dialogs";
  }
  return kDialogFailed;
}

DialogResult SelectUnit(const DialogSettings& settings, t_quantity* record, unsigned long parent_window,
                        std::string* why) {
  return Run(why, [&] {
    QtToolkitServices toolkit;
    const DialogContext context{settings, &toolkit};
    std::unique_ptr<QWindow> host_window = ForeignWindow(parent_window);
    TUnitSelectDlg dialog(nullptr, record, context);
    dialog.SetParentWindow(host_window.get());
    return dialog.exec() == QDialog::Accepted ? kDialogOk : kDialogCancel;
  });
}

// `_UnitMainDlg` points to the dialog while it runs, so the edit-quantity
// dialog can ask it which identifiers are taken.
DialogResult Edit(const DialogSettings& settings, MainDialogHost* host, const ParentWindow& parent,
                  std::string* why) {
  return Run(why, [&] {
    QtToolkitServices toolkit;
    const DialogContext context{settings, &toolkit};
    std::unique_ptr<QWindow> host_window = ForeignWindow(parent.native);
    TUnitMainDlg dialog(static_cast<QWidget*>(parent.widget), host, context);
    dialog.SetParentWindow(host_window.get());
    struct Published {
      void** slot;
      ~Published() { if (slot != nullptr) *slot = nullptr; }
    } published{settings.main_dialog};
    if (published.slot != nullptr) *published.slot = static_cast<QObject*>(&dialog);
    return dialog.exec() == QDialog::Accepted ? kDialogOk : kDialogCancel;
  });
}

constexpr DialogPlugin kPlugin = {kDialogPluginVersion, &SelectUnit, &Edit};

}  // namespace
}  // namespace dialogs
}  // namespace units

extern "C" __attribute__((visibility("default"))) const units::DialogPlugin* UnitsDialogsPlugin() {
  return &units::dialogs::kPlugin;
}
