#include "dialogs/edit_subquantity_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/fonts.h"
#include "dialogs/numbers.h"
#include "dialogs/texts.h"

using units::dialogs::FieldText;
using units::dialogs::ReadInteger;
using units::dialogs::StoreFieldText;
using units::dialogs::Tr;

namespace {

constexpr int kDeviceColumn = 0;
constexpr int kIndexColumn = 1;

// The pair list: only the device text is edited in place. Whatever column
// the user double-clicks or presses F2 on, the row's device text opens.
class PairListView : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
    return QTreeWidget::edit(index.siblingAtColumn(kDeviceColumn), trigger, event);
  }
};

QFrame* CaptionlessFrame(QWidget* owner, const char* name) {
  auto* frame = new QFrame(owner);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setFrameShape(QFrame::StyledPanel);
  return frame;
}

QPushButton* Button(QWidget* owner, const char* name, const char* caption) {
  auto* button = new QPushButton(Tr(caption), owner);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

// The stored pair numbers are 16 bits wide; larger input keeps its low bits.
uint16_t LowBits(const QString& text) { return static_cast<uint16_t>(static_cast<uint32_t>(ReadInteger(text))); }

}  // namespace

TEditSubQuantityDlg::TEditSubQuantityDlg(QWidget* owner, t_subquantity* slot, const char* caption,
                                         const units::dialogs::DialogContext& context)
    : QDialog(owner), slot_(slot), context_(context) {
  setObjectName(QStringLiteral("TEditSubQuantityDlg"));
  units::dialogs::UseDialogFont(this, context_.settings);
  setWindowTitle(caption != nullptr ? Tr(caption) : QString());

  auto* flags = new QHBoxLayout;
  flags->addWidget(BuildRadioGroup());
  flags->addWidget(BuildCheckGroup());
  auto* left = new QVBoxLayout;
  left->addLayout(BuildTextRows());
  left->addLayout(flags);
  left->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(BuildDeviceIndexGroup());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(BuildButtons());
  // A fixed dialog border: the size the contents need, not resizable.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  FillFromSlot();
  UpdateDeviceButtons();
}

QLineEdit* TEditSubQuantityDlg::AddTextRow(QGridLayout* grid, int row, const char* name, const char* label_name,
                                           const char* caption, QLabel** label) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  *label = new QLabel(Tr(caption), this);
  (*label)->setObjectName(QString::fromLatin1(label_name));
  (*label)->setBuddy(edit);
  grid->addWidget(*label, row, 0);
  grid->addWidget(edit, row, 1);
  return edit;
}

QLayout* TEditSubQuantityDlg::BuildTextRows() {
  auto* grid = new QGridLayout;
  m_pkEditValue = AddTextRow(grid, 0, "m_pkEditValue", "m_pkLabelValue", "Value", &m_pkLabelValue);
  m_pkEditName = AddTextRow(grid, 1, "m_pkEditName", "m_pkLabelName", "Name", &m_pkLabelName);
  m_pkEditSymbol = AddTextRow(grid, 2, "m_pkEditSymbol", "m_pkLabelSymbol", "Symbol", &m_pkLabelSymbol);
  m_pkEditSymbolText = AddTextRow(grid, 3, "m_pkEditSymbolText", "m_pkLabelSymbolText", "Text", &m_pkLabelSymbolText);
  // The field widths without their NUL, counted in UTF-8 bytes.
  units::dialogs::LimitToBytes(m_pkEditName, units::kNameWidth - 1);
  units::dialogs::LimitToBytes(m_pkEditSymbol, units::kSymbolWidth - 1);
  units::dialogs::LimitToBytes(m_pkEditSymbolText, units::kSymbolWidth - 1);
  units::dialogs::UseSymbolFont(m_pkEditName, context_.settings);
  units::dialogs::UseSymbolFont(m_pkEditSymbol, context_.settings);
  // Room for a long name without scrolling.
  m_pkEditName->setMinimumWidth(m_pkEditName->fontMetrics().averageCharWidth() * 28);
  return grid;
}

QRadioButton* TEditSubQuantityDlg::AddRadioButton(const char* name, const char* caption) {
  auto* button = new QRadioButton(Tr(caption), m_pkRadioGroup);
  button->setObjectName(QString::fromLatin1(name));
  radio_buttons_->addButton(button);
  m_pkRadioGroup->layout()->addWidget(button);
  return button;
}

QFrame* TEditSubQuantityDlg::BuildRadioGroup() {
  m_pkRadioGroup = CaptionlessFrame(this, "m_pkRadioGroup");
  new QVBoxLayout(m_pkRadioGroup);
  // Exclusive once the user picks one, yet a slot with none of the three
  // flags opens with none checked.
  radio_buttons_ = new QButtonGroup(this);
  radio_buttons_->setExclusive(true);
  m_pkRadioSet = AddRadioButton("m_pkRadioSet", "Set");
  m_pkRadioData = AddRadioButton("m_pkRadioData", "Data");
  m_pkRadioError = AddRadioButton("m_pkRadioError", "Error");
  static_cast<QVBoxLayout*>(m_pkRadioGroup->layout())->addStretch();
  return m_pkRadioGroup;
}

QCheckBox* TEditSubQuantityDlg::AddCheckBox(const char* name, const QString& caption, uint32_t bit) {
  auto* box = new QCheckBox(caption, m_pkGroupCheck);
  box->setObjectName(QString::fromLatin1(name));
  // Two columns of four.
  const int position = static_cast<int>(flag_boxes_.size());
  static_cast<QGridLayout*>(m_pkGroupCheck->layout())->addWidget(box, position % 4, position / 4);
  flag_boxes_.emplace_back(box, bit);
  return box;
}

QFrame* TEditSubQuantityDlg::BuildCheckGroup() {
  m_pkGroupCheck = CaptionlessFrame(this, "m_pkGroupCheck");
  new QGridLayout(m_pkGroupCheck);
  m_pkCheckBoxCalculated = AddCheckBox("m_pkCheckBoxCalculated", Tr("Calculated"), units::kFlagCalculated);
  m_pkCheckBoxCorrected = AddCheckBox("m_pkCheckBoxCorrected", Tr("Corrected"), units::kFlagCorrected);
  m_pkCheckBoxFunction = AddCheckBox("m_pkCheckBoxFunction", Tr("Function"), units::kFlagFunction);
  m_pkCheckBoxMean = AddCheckBox("m_pkCheckBoxMean", Tr("Mean"), units::kFlagMean);
  m_pkCheckBoxSmooth = AddCheckBox("m_pkCheckBoxSmooth", Tr("Smooth"), units::kFlagSmooth);
  // These two are kept apart by the translation service (selector 0).
  m_pkCheckBoxOffset = AddCheckBox("m_pkCheckBoxOffset", Tr("Offset_", 0), units::kFlagOffset);
  m_pkCheckBoxEqui = AddCheckBox("m_pkCheckBoxEqui", Tr("Equi", 0), units::kFlagEqui);
  return m_pkGroupCheck;
}

QFrame* TEditSubQuantityDlg::BuildDeviceIndexGroup() {
  m_pkGroupDeviceIndex = CaptionlessFrame(this, "m_pkGroupDeviceIndex");
  auto* grid = new QGridLayout(m_pkGroupDeviceIndex);
  m_pkEditDevice = AddTextRow(grid, 0, "m_pkEditDevice", "m_pkLabelDevice", "Device", &m_pkLabelDevice);
  m_pkEditIndex = AddTextRow(grid, 1, "m_pkEditIndex", "m_pkLabelIndex", "Index", &m_pkLabelIndex);
  m_pkButtonAdd = Button(m_pkGroupDeviceIndex, "m_pkButtonAdd", "Add");
  m_pkButtonRemove = Button(m_pkGroupDeviceIndex, "m_pkButtonRemove", "Remove");
  grid->addWidget(m_pkButtonAdd, 0, 2);
  grid->addWidget(m_pkButtonRemove, 1, 2);
  connect(m_pkButtonAdd, &QPushButton::clicked, this, &TEditSubQuantityDlg::m_pkButtonAddClick);
  connect(m_pkButtonRemove, &QPushButton::clicked, this, &TEditSubQuantityDlg::m_pkButtonRemoveClick);

  m_pkListView = new PairListView(m_pkGroupDeviceIndex);
  m_pkListView->setObjectName(QStringLiteral("m_pkListView"));
  m_pkListView->setColumnCount(2);
  m_pkListView->setHeaderHidden(true);
  m_pkListView->header()->setSectionResizeMode(QHeaderView::Stretch);
  m_pkListView->setRootIsDecorated(false);
  m_pkListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pkListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pkListView->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  m_pkListView->setAccessibleName(Tr("Device") + QStringLiteral(" / ") + Tr("Index"));
  units::dialogs::UseSymbolFont(m_pkListView, context_.settings);
  grid->addWidget(m_pkListView, 2, 0, 1, 3);
  return m_pkGroupDeviceIndex;
}

QLayout* TEditSubQuantityDlg::BuildButtons() {
  m_pkButtonOK = Button(this, "m_pkButtonOK", "Ok");
  m_pkButtonOK->setDefault(true);
  m_pkButtonCancel = Button(this, "m_pkButtonCancel", "Cancel");
  m_pkButtonHelp = Button(this, "m_pkButtonHelp", "Help");
  m_pkButtonHelp->hide();
  connect(m_pkButtonOK, &QPushButton::clicked, this, &TEditSubQuantityDlg::m_pkButtonOKClick);
  connect(m_pkButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_pkButtonOK);
  buttons->addWidget(m_pkButtonCancel);
  buttons->addWidget(m_pkButtonHelp);
  return buttons;
}

void TEditSubQuantityDlg::FillFromSlot() {
  m_pkEditValue->setText(QString::number(slot_->lSubQuan));
  m_pkEditName->setText(FieldText(slot_->szName));
  m_pkEditSymbol->setText(FieldText(slot_->szSymbol));
  m_pkEditSymbolText->setText(FieldText(slot_->szText));

  const uint32_t flags = slot_->dwFlags;
  if ((flags & units::kFlagSet) != 0) {
    m_pkRadioSet->setChecked(true);
  } else if ((flags & units::kFlagData) != 0) {
    m_pkRadioData->setChecked(true);
  } else if ((flags & units::kFlagError) != 0) {
    m_pkRadioError->setChecked(true);
  }
  for (const auto& [box, bit] : flag_boxes_) box->setChecked((flags & bit) != 0);

  // A damaged count never reads past the arrays.
  const int count = units::PairCount(*slot_);
  for (int i = 0; i < count; ++i) AddPairRow(slot_->awDevice[i], slot_->awIndex[i]);
}

void TEditSubQuantityDlg::AddPairRow(int32_t device, int32_t index) {
  auto* row = new QTreeWidgetItem(m_pkListView, {QString::number(device), QString::number(index)});
  row->setFlags(row->flags() | Qt::ItemIsEditable);
}

void TEditSubQuantityDlg::UpdateDeviceButtons() {
  const int rows = m_pkListView->topLevelItemCount();
  m_pkButtonAdd->setEnabled(rows < units::kMaxPairs);
  m_pkButtonRemove->setEnabled(rows > 0);
}

void TEditSubQuantityDlg::m_pkButtonAddClick() {
  // No test for duplicates or range: what was typed is what the row shows.
  AddPairRow(ReadInteger(m_pkEditDevice->text()), ReadInteger(m_pkEditIndex->text()));
  m_pkListView->scrollToItem(m_pkListView->topLevelItem(m_pkListView->topLevelItemCount() - 1));
  UpdateDeviceButtons();
}

void TEditSubQuantityDlg::m_pkButtonRemoveClick() {
  for (int row = m_pkListView->topLevelItemCount() - 1; row >= 0; --row) {
    if (m_pkListView->topLevelItem(row)->isSelected()) delete m_pkListView->takeTopLevelItem(row);
  }
  UpdateDeviceButtons();
}

uint32_t TEditSubQuantityDlg::FlagsFromControls() const {
  uint32_t flags = 0;
  if (m_pkRadioSet->isChecked()) {
    flags = units::kFlagSet;
  } else if (m_pkRadioData->isChecked()) {
    flags = units::kFlagData;
  } else if (m_pkRadioError->isChecked()) {
    flags = units::kFlagError;
  }
  for (const auto& [box, bit] : flag_boxes_) {
    if (box->isChecked()) flags |= bit;
  }
  return flags;
}

void TEditSubQuantityDlg::m_pkButtonOKClick() {
  slot_->lSubQuan = ReadInteger(m_pkEditValue->text());
  StoreFieldText(slot_->szName, m_pkEditName->text());
  StoreFieldText(slot_->szSymbol, m_pkEditSymbol->text());
  StoreFieldText(slot_->szText, m_pkEditSymbolText->text());
  slot_->dwFlags = FlagsFromControls();
  const int rows = std::min(m_pkListView->topLevelItemCount(), units::kMaxPairs);
  slot_->wCount = 0;
  for (int i = 0; i < rows; ++i) {
    const QTreeWidgetItem* row = m_pkListView->topLevelItem(i);
    slot_->awDevice[i] = LowBits(row->text(kDeviceColumn));
    slot_->awIndex[i] = LowBits(row->text(kIndexColumn));
    ++slot_->wCount;
  }
  accept();
}
