// TEditQuantityDlg: edits one quantity record on three pages. The Units and
// Subquantities pages write the record's slots as soon as the user acts
// (Cancel does not take them back); the General page and the choice of the
// current unit reach the record only through "Ok".
#ifndef UNITS_DIALOGS_EDIT_QUANTITY_DIALOG_H_
#define UNITS_DIALOGS_EDIT_QUANTITY_DIALOG_H_

#include <QDialog>

#include <cstdint>

#include "dialogs/dialog_context.h"
#include "model/quantity.h"

class QPushButton;
class QTabWidget;

namespace units {
namespace dialogs {
class EditQuantityGeneralPage;
class EditQuantityUnitsPage;
class EditQuantitySubQuantitiesPage;
}  // namespace dialogs
}  // namespace units

class TEditQuantityDlg : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `record` outlives the dialog. Result Accepted: OKButtonClick
  // accepted the input.
  TEditQuantityDlg(QWidget* owner, t_quantity* record, const units::dialogs::DialogContext& context);

 private slots:
  void OKButtonClick();
  void GenEditGrosseChange();
  void QuanListBoxClick();
  void QuanAddClick();
  void QuanEditClick();
  void QuanRemoveClick();
  void SubQuanListViewSelectItem();
  void SubQuanAddClick();
  void SubQuanEditClick();
  void SubQuanRemoveClick();
  void SubQuanEnableClick();
  void SubQuanDisableClick();

 private:
  void SelectCurrentUnit();
  void FillUnitList();
  void UpdateUnitButtons();
  void SelectOnlyUnitRow(int row);
  // Opens the edit-unit dialog on `slot`; true when it wrote the slot.
  bool EditUnit(uint32_t slot);
  void FillSubQuantityList();
  void UpdateSubQuantityButtons();
  void SetSubQuantitiesEnabled(bool enabled);
  uint16_t IdentifierTyped() const;

  t_quantity* record_;
  units::dialogs::DialogContext context_;
  QTabWidget* PageControl1;
  units::dialogs::EditQuantityGeneralPage* TabSheetGeneral;
  units::dialogs::EditQuantityUnitsPage* TabSheetQuantity;
  units::dialogs::EditQuantitySubQuantitiesPage* TabSheetSubQuantity;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;
};

// Both lists show only the defined slots, in slot order, so a row number is
// not a slot number.
// The slot of the `row`-th defined unit; 0 (the base unit, or none) for a
// negative row or one past the defined units.
uint32_t UnitSlotOfRow(const t_quantity& record, int row);
// The slot of the `row`-th defined subquantity; -1 when there is none.
int SubQuantitySlotOfRow(const t_quantity& record, int row);

#endif  // UNITS_DIALOGS_EDIT_QUANTITY_DIALOG_H_
