// TEditFilterDlg: edits one quantity group, its name and its conditions.
// The record passed in changes only on "Ok", and then holds the new name and
// between 1 and 100 conditions.
#ifndef UNITS_DIALOGS_EDIT_FILTER_DIALOG_H_
#define UNITS_DIALOGS_EDIT_FILTER_DIALOG_H_

#include <QDialog>

#include <memory>
#include <vector>

#include "dialogs/dialog_context.h"
#include "model/catalogue.h"
#include "model/group_model.h"

class QCheckBox;
class QItemSelection;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace units {
namespace dialogs {

// What the editor offers: the enabled combinations of the committed
// catalogue, and that catalogue for the symbols of the condition rows.
struct GroupEditorSource {
  std::shared_ptr<const Catalogue> catalogue;  // may be null: no symbols
  std::vector<QuantityChoice> choices;
};

}  // namespace dialogs
}  // namespace units

class TEditFilterDlg : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `entry` outlives the dialog. Result Accepted (1): the record
  // was rewritten; Rejected: untouched.
  TEditFilterDlg(QWidget* owner, t_FilterEntry* entry, units::dialogs::GroupEditorSource source,
                 const units::dialogs::DialogContext& context);
  ~TEditFilterDlg() override;

 private slots:
  void m_pButtonQuantityFromListClick();
  void m_pButtonSubQuantityFromListClick();
  void m_pButtonFlagsFromListClick();
  void m_pButtonIndexFromListClick();
  void m_pButtonDeviceFromListClick();
  void m_pButtonAddQuantityClick();
  void m_pButtonAddClick();
  void m_pButtonClearClick();
  void m_pButtonRemoveClick();
  void m_pListViewSelectItem(const QItemSelection& selected, const QItemSelection& deselected);
  void m_pButtonOkClick();
  void m_pCheckBoxSetClick(); void m_pCheckBoxSetOffClick();
  void m_pCheckBoxDataClick(); void m_pCheckBoxDataOffClick();
  void m_pCheckBoxErrorClick(); void m_pCheckBoxErrorOffClick();
  void m_pCheckBoxCalculatedClick(); void m_pCheckBoxCalculatedOffClick();
  void m_pCheckBoxCorrectedClick(); void m_pCheckBoxCorrectedOffClick();
  void m_pCheckBoxFunctionClick(); void m_pCheckBoxFunctionOffClick();
  void m_pCheckBoxMeanClick(); void m_pCheckBoxMeanOffClick();
  void m_pCheckBoxSmoothClick(); void m_pCheckBoxSmoothOffClick();
  void m_pCheckBoxOffsetClick(); void m_pCheckBoxOffsetOffClick();
  void m_pCheckBoxEquiClick(); void m_pCheckBoxEquiOffClick();

 private:
  struct TestRow;  // a test box, its field and its "--->"
  struct FlagRow;  // a flag's On and Off boxes and its bit
  static const TestRow kTestRows[5];
  static const FlagRow kFlagRows[10];

  QPushButton* AddButton(const QString& name, const QString& caption, void (TEditFilterDlg::*handler)());
  QLayout* BuildFieldGrid();
  QLayout* BuildFlagBlock();
  QLayout* BuildConditionList();
  QLayout* BuildButtons();
  const units::Combination* SelectedChoice() const;
  void TakeFromList(const TestRow& row);
  QString QuantityText(const t_FilterCondition& condition) const;
  QStringList ColumnTexts(const t_FilterCondition& condition) const;
  void AddRow(const t_FilterCondition& condition, const QStringList& texts);
  QString InfoText(const t_FilterCondition& condition) const;
  void WriteEntry(const QString& name, const std::vector<t_FilterCondition>& conditions);

  t_FilterEntry* entry_;
  units::dialogs::GroupEditorSource source_;
  units::dialogs::DialogContext context_;
  std::vector<t_FilterCondition> conditions_;  // one per row of m_pListView, in row order

  QLabel *m_pLabelFilterName, *m_pLabelOn, *m_pLabelOff, *m_pLabelEntryInfo;
  QLineEdit *m_pFilterEntryName, *m_pEditQuantity, *m_pEditSubQuantity, *m_pEditIndex, *m_pEditDevice;
  QCheckBox *m_pCheckBoxQuantity, *m_pCheckBoxSubQuantity, *m_pCheckBoxFlags, *m_pCheckBoxIndex, *m_pCheckBoxDevice;
  QCheckBox *m_pCheckBoxSet, *m_pCheckBoxSetOff, *m_pCheckBoxData, *m_pCheckBoxDataOff;
  QCheckBox *m_pCheckBoxError, *m_pCheckBoxErrorOff, *m_pCheckBoxCalculated, *m_pCheckBoxCalculatedOff;
  QCheckBox *m_pCheckBoxCorrected, *m_pCheckBoxCorrectedOff, *m_pCheckBoxFunction, *m_pCheckBoxFunctionOff;
  QCheckBox *m_pCheckBoxMean, *m_pCheckBoxMeanOff, *m_pCheckBoxSmooth, *m_pCheckBoxSmoothOff;
  QCheckBox *m_pCheckBoxOffset, *m_pCheckBoxOffsetOff, *m_pCheckBoxEqui, *m_pCheckBoxEquiOff;
  QListWidget* m_pQuantityListBox;
  QPushButton *m_pButtonQuantityFromList, *m_pButtonSubQuantityFromList, *m_pButtonFlagsFromList;
  QPushButton *m_pButtonIndexFromList, *m_pButtonDeviceFromList, *m_pButtonAddQuantity;
  QPushButton *m_pButtonAdd, *m_pButtonClear, *m_pButtonRemove, *m_pButtonOk, *m_pButtonCancel;
  QTableWidget* m_pListView;
};

#endif  // UNITS_DIALOGS_EDIT_FILTER_DIALOG_H_
