#include "dialogs/edit_unit_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <cstring>

#include "dialogs/fonts.h"
#include "dialogs/numbers.h"
#include "dialogs/texts.h"

using units::dialogs::FieldText;
using units::dialogs::FormatNumber;
using units::dialogs::ReadNumber;
using units::dialogs::ToolkitServices;
using units::dialogs::Tr;

namespace {

constexpr size_t kTextBytes = units::kSymbolWidth - 1;
constexpr int kFactorPrecision = 9;
constexpr int kReversePrecision = 8;

// The equations name the new unit even while its symbol is still empty.
QString ShownSymbol(const QString& symbol) { return symbol.isEmpty() ? QStringLiteral("***") : symbol; }

// The equation labels are formats, not translated texts.
QString AbsoluteZeroOf(const QString& unit) { return QStringLiteral("0.0 ") + unit + QStringLiteral(" (abs) ="); }
QString RelativeOneOf(const QString& unit) { return QStringLiteral("1.0 ") + unit + QStringLiteral(" (rel) ="); }

}  // namespace

TEditUnitDlg::TEditUnitDlg(QWidget* owner, const char* base_unit_text, t_quantityunit* unit, const char* caption,
                           const units::dialogs::DialogContext& context)
    : QDialog(owner), context_(context), unit_(unit), separator_(units::dialogs::DecimalSeparator()) {
  // 20 bytes and the NUL: a damaged field without its NUL is not read past.
  if (base_unit_text != nullptr) std::memcpy(base_unit_text_, base_unit_text, strnlen(base_unit_text, kTextBytes));
  setObjectName(QStringLiteral("TEditUnitDlg"));
  units::dialogs::UseDialogFont(this, context.settings);
  setWindowTitle(Tr(caption));
  CreateControls();
  LayOutControls();
}

QLabel* TEditUnitDlg::NewLabel(const QString& text, const char* name) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QLineEdit* TEditUnitDlg::NewNumberEdit(const QString& text, const char* name) {
  auto* edit = new QLineEdit(text, this);
  edit->setObjectName(QString::fromLatin1(name));
  units::dialogs::AcceptOnlyNumberKeys(edit, separator_);  // the key filter m_pkEditFloatKeyPress
  return edit;
}

void TEditUnitDlg::CreateControls() {
  const QString base = FieldText(base_unit_text_);
  const QString symbol = FieldText(unit_->szText);
  m_pkLabelSymbol = NewLabel(Tr("Symbol"), "m_pkLabelSymbol");
  m_pkEditSymbol = new QLineEdit(symbol, this);
  m_pkEditSymbol->setObjectName(QStringLiteral("m_pkEditSymbol"));
  units::dialogs::LimitToBytes(m_pkEditSymbol, kTextBytes);
  m_pkLabelOffset = NewLabel(AbsoluteZeroOf(base), "m_pkLabelOffset");
  m_pkEditOffset = NewNumberEdit(FormatNumber(unit_->dOffset, 8, separator_), "m_pkEditOffset");
  m_pkLabelOffsetUnit = NewLabel(symbol, "m_pkLabelOffsetUnit");
  m_pkLabelFactor = NewLabel(RelativeOneOf(base), "m_pkLabelFactor");
  m_pkEditFactor = NewNumberEdit(FormatNumber(unit_->dFactor, kFactorPrecision, separator_), "m_pkEditFactor");
  m_pkLabelFactorUnit = NewLabel(symbol, "m_pkLabelFactorUnit");
  m_pkLabelRevFactor = NewLabel(RelativeOneOf(symbol), "m_pkLabelRevFactor");
  m_pkEditRevFactor = NewNumberEdit(ReverseText(unit_->dFactor, kReversePrecision), "m_pkEditRevFactor");
  m_pkLabelRevFactorUnit = NewLabel(base, "m_pkLabelRevFactorUnit");
  // The buddies name the edits for screen readers.
  m_pkLabelSymbol->setBuddy(m_pkEditSymbol);
  m_pkLabelOffset->setBuddy(m_pkEditOffset);
  m_pkLabelFactor->setBuddy(m_pkEditFactor);
  m_pkLabelRevFactor->setBuddy(m_pkEditRevFactor);
  for (QObject* edit : {m_pkEditSymbol, m_pkEditFactor, m_pkEditRevFactor}) edit->installEventFilter(this);
  connect(m_pkEditFactor, &QLineEdit::textEdited, this, [this] { factor_edited_ = true; });
  connect(m_pkEditRevFactor, &QLineEdit::textEdited, this, [this] { rev_factor_edited_ = true; });

  m_pkButtonOK = new QPushButton(Tr("Ok"), this);
  m_pkButtonOK->setObjectName(QStringLiteral("m_pkButtonOK"));
  m_pkButtonOK->setDefault(true);
  m_pkButtonCancel = new QPushButton(Tr("Cancel"), this);
  m_pkButtonCancel->setObjectName(QStringLiteral("m_pkButtonCancel"));
  m_pkButtonHelp = new QPushButton(Tr("Help"), this);
  m_pkButtonHelp->setObjectName(QStringLiteral("m_pkButtonHelp"));
  m_pkButtonHelp->setVisible(false);
  connect(m_pkButtonOK, &QPushButton::clicked, this, &TEditUnitDlg::m_pkButtonOKClick);
  connect(m_pkButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TEditUnitDlg::LayOutControls() {
  // Each row reads as an equation: label = edit unit.
  auto* rows = new QGridLayout;
  QLabel* const labels[] = {m_pkLabelSymbol, m_pkLabelOffset, m_pkLabelFactor, m_pkLabelRevFactor};
  QLineEdit* const edits[] = {m_pkEditSymbol, m_pkEditOffset, m_pkEditFactor, m_pkEditRevFactor};
  QLabel* const units_of_rows[] = {nullptr, m_pkLabelOffsetUnit, m_pkLabelFactorUnit, m_pkLabelRevFactorUnit};
  for (int row = 0; row < 4; ++row) {
    rows->addWidget(labels[row], row, 0, Qt::AlignRight | Qt::AlignVCenter);
    rows->addWidget(edits[row], row, 1);
    if (units_of_rows[row] != nullptr) rows->addWidget(units_of_rows[row], row, 2);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_pkButtonOK);
  buttons->addWidget(m_pkButtonCancel);
  buttons->addWidget(m_pkButtonHelp);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rows);
  layout->addLayout(buttons);
  // A fixed dialog border: the size the contents need, not resizable.
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TEditUnitDlg::ReverseText(double value, int precision) const {
  if (value == 0.0) return QStringLiteral("0") + separator_ + QStringLiteral("0");
  return FormatNumber(1.0 / value, precision, separator_);
}

bool TEditUnitDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease && watched == m_pkEditFactor) {
    m_pkEditFactorKeyUp();
  } else if (event->type() == QEvent::KeyRelease && watched == m_pkEditRevFactor) {
    m_pkEditRevFactorKeyUp();
  } else if (event->type() == QEvent::FocusOut && watched == m_pkEditSymbol) {
    m_pkEditSymbolExit();
  }
  return QDialog::eventFilter(watched, event);
}

void TEditUnitDlg::m_pkEditFactorKeyUp() {
  if (!m_pkEditFactor->hasFocus() || !factor_edited_) return;
  factor_edited_ = false;
  m_pkEditRevFactor->setText(ReverseText(ReadNumber(m_pkEditFactor->text(), separator_), kReversePrecision));
}

void TEditUnitDlg::m_pkEditRevFactorKeyUp() {
  if (!m_pkEditRevFactor->hasFocus() || !rev_factor_edited_) return;
  rev_factor_edited_ = false;
  m_pkEditFactor->setText(ReverseText(ReadNumber(m_pkEditRevFactor->text(), separator_), kFactorPrecision));
}

void TEditUnitDlg::m_pkEditSymbolExit() {
  const QString symbol = ShownSymbol(m_pkEditSymbol->text());
  m_pkLabelOffsetUnit->setText(symbol);
  m_pkLabelFactorUnit->setText(symbol);
  m_pkLabelRevFactor->setText(RelativeOneOf(symbol));
}

void TEditUnitDlg::m_pkButtonOKClick() {
  const QString symbol = m_pkEditSymbol->text();
  if (symbol.isEmpty()) {
    Refuse(Tr("Missing symbol"), m_pkEditSymbol);
    return;
  }
  const double offset = ReadNumber(m_pkEditOffset->text(), separator_);
  const double factor = ReadNumber(m_pkEditFactor->text(), separator_);
  // Converting back to the base unit subtracts the offset and divides by the
  // factor: a factor of 0 or a number that is not finite spoils every value.
  if (!std::isfinite(offset)) {
    Refuse(Tr("The offset must be a finite number"), m_pkEditOffset);
    return;
  }
  if (!std::isfinite(factor) || factor == 0.0) {
    Refuse(Tr("The factor must be a finite number other than 0"), m_pkEditFactor);
    return;
  }
  units::dialogs::StoreFieldText(unit_->szText, symbol);
  unit_->dOffset = offset;
  unit_->dFactor = factor;
  accept();
}

void TEditUnitDlg::Refuse(const QString& text, QLineEdit* edit) {
  context_.toolkit->ShowMessage(this, text, QStringLiteral("Mensora"), ToolkitServices::Icon::kNone,
                                ToolkitServices::Placement::kForeground);
  edit->setFocus();
}
