// The quantity list of the open main dialog, as the edit-quantity dialog
// sees it: whether an identifier is taken. The main dialog implements it and
// stores itself (as a QObject*) in the exported `_UnitMainDlg` while open.
#ifndef UNITS_DIALOGS_QUANTITY_LIST_H_
#define UNITS_DIALOGS_QUANTITY_LIST_H_

#include <QObject>
#include <QString>

#include <cstdint>

#include "service/dialog_plugin.h"

namespace units {
namespace dialogs {

class QuantityList {
 public:
  virtual ~QuantityList() = default;
  // True when a row's record has identifier `id`; then `row_text` (when not
  // null) gets "<symbol> - <translated name>" of the first such row.
  virtual bool FindListQuantity(uint16_t id, QString* row_text) const = 0;
};

}  // namespace dialogs
}  // namespace units

#define UNITS_QUANTITY_LIST_IID "units.dialogs.QuantityList/1"
Q_DECLARE_INTERFACE(units::dialogs::QuantityList, UNITS_QUANTITY_LIST_IID)

namespace units {
namespace dialogs {

// The list of the open main dialog, or null when none is open.
inline const QuantityList* OpenQuantityList(const DialogSettings& settings) {
  if (settings.main_dialog == nullptr || *settings.main_dialog == nullptr) return nullptr;
  return qobject_cast<QuantityList*>(static_cast<QObject*>(*settings.main_dialog));
}

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_QUANTITY_LIST_H_
