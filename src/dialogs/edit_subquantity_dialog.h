// TEditSubQuantityDlg: the user edits one subquantity slot of a quantity
// record: its number, texts, flags and device/index pairs. The slot is
// written on OK only, every field but wState (whether the slot is defined
// and enabled is the edit-quantity dialog's business).
#ifndef UNITS_DIALOGS_EDIT_SUBQUANTITY_DIALOG_H_
#define UNITS_DIALOGS_EDIT_SUBQUANTITY_DIALOG_H_

#include <QDialog>

#include <cstdint>
#include <utility>
#include <vector>

#include "dialogs/dialog_context.h"
#include "model/quantity.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

class TEditSubQuantityDlg : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `slot` outlives the dialog. Result Accepted: the slot has been written (all but wState).
  TEditSubQuantityDlg(QWidget* owner, t_subquantity* slot, const char* caption,
                      const units::dialogs::DialogContext& context);

 private slots:
  void m_pkButtonOKClick();
  void m_pkButtonAddClick();
  void m_pkButtonRemoveClick();

 private:
  QLineEdit* AddTextRow(QGridLayout* grid, int row, const char* name, const char* label_name,
                        const char* caption, QLabel** label);
  QRadioButton* AddRadioButton(const char* name, const char* caption);
  QCheckBox* AddCheckBox(const char* name, const QString& caption, uint32_t bit);
  QLayout* BuildTextRows();
  QFrame* BuildRadioGroup();
  QFrame* BuildCheckGroup();
  QFrame* BuildDeviceIndexGroup();
  QLayout* BuildButtons();
  void FillFromSlot();
  void AddPairRow(int32_t device, int32_t index);
  uint32_t FlagsFromControls() const;
  void UpdateDeviceButtons();

  t_subquantity* slot_;
  units::dialogs::DialogContext context_;
  QButtonGroup* radio_buttons_;
  std::vector<std::pair<QCheckBox*, uint32_t>> flag_boxes_;

  QPushButton* m_pkButtonOK;
  QPushButton* m_pkButtonCancel;
  QPushButton* m_pkButtonHelp;
  QLabel* m_pkLabelValue;
  QLineEdit* m_pkEditValue;
  QLabel* m_pkLabelName;
  QLineEdit* m_pkEditName;
  QLabel* m_pkLabelSymbol;
  QLineEdit* m_pkEditSymbol;
  QLabel* m_pkLabelSymbolText;
  QLineEdit* m_pkEditSymbolText;
  QFrame* m_pkRadioGroup;
  QRadioButton* m_pkRadioSet;
  QRadioButton* m_pkRadioData;
  QRadioButton* m_pkRadioError;
  QFrame* m_pkGroupCheck;
  QCheckBox* m_pkCheckBoxCalculated;
  QCheckBox* m_pkCheckBoxCorrected;
  QCheckBox* m_pkCheckBoxFunction;
  QCheckBox* m_pkCheckBoxMean;
  QCheckBox* m_pkCheckBoxSmooth;
  QCheckBox* m_pkCheckBoxOffset;
  QCheckBox* m_pkCheckBoxEqui;
  QFrame* m_pkGroupDeviceIndex;
  QLabel* m_pkLabelDevice;
  QLineEdit* m_pkEditDevice;
  QLabel* m_pkLabelIndex;
  QLineEdit* m_pkEditIndex;
  QPushButton* m_pkButtonAdd;
  QPushButton* m_pkButtonRemove;
  QTreeWidget* m_pkListView;
};

#endif  // UNITS_DIALOGS_EDIT_SUBQUANTITY_DIALOG_H_
