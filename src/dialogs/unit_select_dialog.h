// TUnitSelectDlg: the user picks the current display unit of one quantity
// from its defined units. Writes dwUnit of the record on OK and nothing
// else; saving is the caller's business.
#ifndef UNITS_DIALOGS_UNIT_SELECT_DIALOG_H_
#define UNITS_DIALOGS_UNIT_SELECT_DIALOG_H_

#include <QDialog>
#include <QPointer>

#include "dialogs/dialog_context.h"
#include "model/quantity.h"

class QFrame;
class QListWidget;
class QPushButton;
class QWindow;

class TUnitSelectDlg : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `record` outlives the dialog.
  TUnitSelectDlg(QWidget* owner, t_quantity* record, const units::dialogs::DialogContext& context);

  // The host window the dialog belongs to; it is brought to the front when
  // the dialog closes. May be null.
  void SetParentWindow(QWindow* window);

  void done(int result) override;

 private slots:
  void OKBtnClick();

 private:
  void FillUnitList();

  t_quantity* record_;
  QPointer<QWindow> parent_window_;
  QFrame* Bevel1;
  QListWidget* m_ptUnitList;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
};

// The slot of the `position`-th defined unit, counting from 0; 0 (the base
// unit) for a negative position or one past the defined units.
uint32_t UnitSlotOfPosition(const t_quantity& record, int position);

#endif  // UNITS_DIALOGS_UNIT_SELECT_DIALOG_H_
