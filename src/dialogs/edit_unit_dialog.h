// TEditUnitDlg: the user defines one display unit of a quantity: its text,
// its offset and its factor against the quantity's base unit, or instead of
// the factor the reverse factor. The unit is written only on OK.
#ifndef UNITS_DIALOGS_EDIT_UNIT_DIALOG_H_
#define UNITS_DIALOGS_EDIT_UNIT_DIALOG_H_

#include <QChar>
#include <QDialog>

#include "dialogs/dialog_context.h"
#include "model/quantity.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TEditUnitDlg : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `unit` outlives the dialog. Result Accepted: the unit has been written.
  TEditUnitDlg(QWidget* owner, const char* base_unit_text, t_quantityunit* unit, const char* caption,
               const units::dialogs::DialogContext& context);

 protected:
  // Key releases in the factor edits and the symbol edit losing the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void m_pkEditFactorKeyUp();
  void m_pkEditRevFactorKeyUp();
  void m_pkEditSymbolExit();
  void m_pkButtonOKClick();

 private:
  void CreateControls();
  void LayOutControls();
  QLabel* NewLabel(const QString& text, const char* name);
  QLineEdit* NewNumberEdit(const QString& text, const char* name);
  // 1 / value as the edits show it; "0.0" (with our separator) for 0.
  QString ReverseText(double value, int precision) const;
  void Refuse(const QString& text, QLineEdit* edit);

  units::dialogs::DialogContext context_;
  t_quantityunit* unit_;
  char base_unit_text_[units::kSymbolWidth] = {};
  QChar separator_;
  // Set by typing, cleared by mirroring: a key that edits nothing (Tab into
  // the edit, an arrow) must not round the other edit's number.
  bool factor_edited_ = false;
  bool rev_factor_edited_ = false;

  QLabel* m_pkLabelSymbol;
  QLineEdit* m_pkEditSymbol;
  QLabel* m_pkLabelOffset;
  QLineEdit* m_pkEditOffset;
  QLabel* m_pkLabelOffsetUnit;
  QLabel* m_pkLabelFactor;
  QLineEdit* m_pkEditFactor;
  QLabel* m_pkLabelFactorUnit;
  QLabel* m_pkLabelRevFactor;
  QLineEdit* m_pkEditRevFactor;
  QLabel* m_pkLabelRevFactorUnit;
  QPushButton* m_pkButtonOK;
  QPushButton* m_pkButtonCancel;
  QPushButton* m_pkButtonHelp;
};

#endif  // UNITS_DIALOGS_EDIT_UNIT_DIALOG_H_
