#include "dialogs/edit_filter_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "dialogs/fonts.h"
#include "dialogs/texts.h"

using units::dialogs::FieldText;
using units::dialogs::Tr;

namespace {

constexpr uint16_t kAllTests = 0x1F;

// Blanks, a sign, then digits up to the first other character; no digits
// give 0. A number too wide for its field wraps instead of sticking at a limit.
uint32_t WrappedNumber(const QString& text) {
  const QString number = text.trimmed();
  const bool negative = number.startsWith(u'-');
  uint32_t value = 0;
  int i = negative || number.startsWith(u'+') ? 1 : 0;
  for (; i < number.size() && number[i] >= u'0' && number[i] <= u'9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(number[i].unicode() - u'0');
  }
  return negative ? 0u - value : value;
}

// The number a test compares, in the field of `condition` that holds it.
void StoreNumber(t_FilterCondition* condition, uint16_t test, uint32_t value) {
  if (test == units::kTestQuantity) condition->wQuantity = static_cast<uint16_t>(value);
  if (test == units::kTestSubQuantity) condition->lSubQuan = static_cast<int32_t>(value);
  if (test == units::kTestIndex) condition->wIndex = static_cast<uint16_t>(value);
  if (test == units::kTestDevice) condition->wDevice = static_cast<uint16_t>(value);
}

// What a combination holds, with every test on; every flag bit must be as it is.
t_FilterCondition ExactCondition(const units::Combination& c) {
  return {c.quantity, c.subquantity, c.flags, c.device, c.index, kAllTests, 0xFFFFFFFFu};
}

// The On and Off boxes of a flag exclude each other; unchecking one leaves its partner alone.
void ExcludePartner(const QCheckBox* box, QCheckBox* partner) {
  if (box->isChecked()) partner->setChecked(false);
}

template <typename T>
T* Named(T* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

struct TEditFilterDlg::TestRow {
  QCheckBox* TEditFilterDlg::*box;
  QLineEdit* TEditFilterDlg::*edit;  // null for the flags
  QPushButton* TEditFilterDlg::*arrow;
  void (TEditFilterDlg::*take)();
  const char* name;  // of the members, as in m_pCheckBox<name>
  const char* caption;
  uint16_t test;
};

struct TEditFilterDlg::FlagRow {
  QCheckBox* TEditFilterDlg::*on;
  QCheckBox* TEditFilterDlg::*off;
  void (TEditFilterDlg::*on_click)();
  void (TEditFilterDlg::*off_click)();
  const char* name;
  const char* caption;    // of the On box
  const char* info_name;  // in the info label
  int selector;           // of both texts
  uint32_t bit;
};

// Rows made from the members' names: members, handlers and object names cannot get out of step.
#define UNITS_TEST_ROW(Name, edit, caption, test)                                                              \
  {&TEditFilterDlg::m_pCheckBox##Name, edit, &TEditFilterDlg::m_pButton##Name##FromList,                       \
   &TEditFilterDlg::m_pButton##Name##FromListClick, #Name, caption, test}
#define UNITS_FLAG_ROW(Name, caption, info_name, selector, bit)                                                \
  {&TEditFilterDlg::m_pCheckBox##Name, &TEditFilterDlg::m_pCheckBox##Name##Off,                                \
   &TEditFilterDlg::m_pCheckBox##Name##Click, &TEditFilterDlg::m_pCheckBox##Name##OffClick, #Name, caption,    \
   info_name, selector, bit}

// In their on-screen order, which is also the order of the list columns.
const TEditFilterDlg::TestRow TEditFilterDlg::kTestRows[5] = {
    UNITS_TEST_ROW(Quantity, &TEditFilterDlg::m_pEditQuantity, "Quantity", units::kTestQuantity),
    UNITS_TEST_ROW(SubQuantity, &TEditFilterDlg::m_pEditSubQuantity, "Subquantity", units::kTestSubQuantity),
    UNITS_TEST_ROW(Flags, nullptr, "Flags", units::kTestFlags),
    UNITS_TEST_ROW(Index, &TEditFilterDlg::m_pEditIndex, "Index", units::kTestIndex),
    UNITS_TEST_ROW(Device, &TEditFilterDlg::m_pEditDevice, "Device", units::kTestDevice)};

// In their on-screen order. The translation service keeps "Offset_" (the
// box; "Offset" is also a unit's offset) and "Equi" apart: selector 0.
const TEditFilterDlg::FlagRow TEditFilterDlg::kFlagRows[10] = {
    UNITS_FLAG_ROW(Set, "Set", "Set", 1, units::kFlagSet),
    UNITS_FLAG_ROW(Data, "Data", "Data", 1, units::kFlagData),
    UNITS_FLAG_ROW(Error, "Error", "Error", 1, units::kFlagError),
    UNITS_FLAG_ROW(Calculated, "Calculated", "Calculated", 1, units::kFlagCalculated),
    UNITS_FLAG_ROW(Corrected, "Corrected", "Corrected", 1, units::kFlagCorrected),
    UNITS_FLAG_ROW(Function, "Function", "Function", 1, units::kFlagFunction),
    UNITS_FLAG_ROW(Mean, "Mean", "Mean", 1, units::kFlagMean),
    UNITS_FLAG_ROW(Smooth, "Smooth", "Smooth", 1, units::kFlagSmooth),
    UNITS_FLAG_ROW(Offset, "Offset_", "Offset", 0, units::kFlagOffset),
    UNITS_FLAG_ROW(Equi, "Equi", "Equi", 0, units::kFlagEqui)};

#undef UNITS_TEST_ROW
#undef UNITS_FLAG_ROW

TEditFilterDlg::TEditFilterDlg(QWidget* owner, t_FilterEntry* entry, units::dialogs::GroupEditorSource source,
                               const units::dialogs::DialogContext& context)
    : QDialog(owner), entry_(entry), source_(std::move(source)), context_(context) {
  setObjectName(QStringLiteral("TEditFilterDlg"));
  units::dialogs::UseDialogFont(this, context_.settings);
  setWindowTitle(Tr("Edit quantity group"));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(BuildFieldGrid());
  layout->addLayout(BuildConditionList());
  layout->addLayout(BuildButtons());
  // A fixed dialog border: the size the contents need, not resizable.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  m_pFilterEntryName->setText(FieldText(entry_->szName));
  // A damaged count never reads past aCondition.
  const int32_t count = units::ConditionsInUse(*entry_);
  for (int32_t i = 0; i < count; ++i) AddRow(entry_->aCondition[i], ColumnTexts(entry_->aCondition[i]));
  if (!conditions_.empty()) m_pListView->selectRow(0);
  for (const units::QuantityChoice& choice : source_.choices) {
    m_pQuantityListBox->addItem(FieldText(choice.symbol.c_str(), choice.symbol.size() + 1));
  }
}

TEditFilterDlg::~TEditFilterDlg() = default;

QLayout* TEditFilterDlg::BuildFieldGrid() {
  auto* grid = new QGridLayout;
  m_pLabelFilterName = Named(new QLabel(Tr("Name"), this), "m_pLabelFilterName");
  m_pFilterEntryName = Named(new QLineEdit(this), "m_pFilterEntryName");
  m_pLabelFilterName->setBuddy(m_pFilterEntryName);
  // szName without its NUL, in UTF-8 bytes: nothing typed or pasted reaches past the field.
  units::dialogs::LimitToBytes(m_pFilterEntryName, units::kGroupNameWidth - 1);
  units::dialogs::UseSymbolFont(m_pFilterEntryName, context_.settings);
  grid->addWidget(m_pLabelFilterName, 0, 0);
  grid->addWidget(m_pFilterEntryName, 0, 1, 1, 3);
  // Made row by row, so that Tab walks each test box, its field and its "--->" in turn.
  for (int i = 1; i <= 5; ++i) {
    const TestRow& row = kTestRows[i - 1];
    const QString name = QString::fromLatin1(row.name);
    this->*row.box = Named(new QCheckBox(Tr(row.caption), this), QStringLiteral("m_pCheckBox") + name);
    const Qt::Alignment align = row.edit != nullptr ? Qt::Alignment() : Qt::AlignTop;
    grid->addWidget(this->*row.box, i, 0, align);
    if (row.edit != nullptr) {
      this->*row.edit = Named(new QLineEdit(this), QStringLiteral("m_pEdit") + name);
      (this->*row.edit)->setAccessibleName(Tr(row.caption));
      grid->addWidget(this->*row.edit, i, 1);
    } else {
      grid->addLayout(BuildFlagBlock(), i, 1);
    }
    this->*row.arrow = AddButton("m_pButton" + name + "FromList", QStringLiteral("--->"), row.take);
    // Five buttons with one caption: the field each one fills tells them apart.
    (this->*row.arrow)->setAccessibleName(QStringLiteral("---> ") + Tr(row.caption));
    grid->addWidget(this->*row.arrow, i, 2, align);
  }
  m_pButtonAdd = AddButton("m_pButtonAdd", Tr("Add to list"), &TEditFilterDlg::m_pButtonAddClick);
  m_pButtonClear = AddButton("m_pButtonClear", Tr("Clear fields"), &TEditFilterDlg::m_pButtonClearClick);
  grid->addWidget(m_pButtonAdd, 6, 0, 1, 2, Qt::AlignLeft);
  grid->addWidget(m_pButtonClear, 6, 1, 1, 2, Qt::AlignRight);

  m_pQuantityListBox = Named(new QListWidget(this), "m_pQuantityListBox");
  m_pQuantityListBox->setAccessibleName(Tr("Quantities"));
  units::dialogs::UseSymbolFont(m_pQuantityListBox, context_.settings);
  m_pButtonAddQuantity =
      AddButton("m_pButtonAddQuantity", Tr("Add to list"), &TEditFilterDlg::m_pButtonAddQuantityClick);
  grid->addWidget(m_pQuantityListBox, 1, 3, 5, 1);
  grid->addWidget(m_pButtonAddQuantity, 6, 3, Qt::AlignLeft);
  return grid;
}

QLayout* TEditFilterDlg::BuildFlagBlock() {
  auto* block = new QGridLayout;
  block->setVerticalSpacing(0);
  m_pLabelOn = Named(new QLabel(Tr("On"), this), "m_pLabelOn");
  m_pLabelOff = Named(new QLabel(Tr("Off"), this), "m_pLabelOff");
  block->addWidget(m_pLabelOn, 0, 0);
  block->addWidget(m_pLabelOff, 0, 1);
  for (int i = 0; i < 10; ++i) {
    const FlagRow& flag = kFlagRows[i];
    const QString name = QStringLiteral("m_pCheckBox") + QString::fromLatin1(flag.name);
    QCheckBox* on = this->*flag.on = Named(new QCheckBox(Tr(flag.caption, flag.selector), this), name);
    QCheckBox* off = this->*flag.off = Named(new QCheckBox(this), name + QStringLiteral("Off"));
    off->setAccessibleName(Tr("Off") + QStringLiteral(": ") + on->text());
    connect(on, &QCheckBox::toggled, this, flag.on_click);
    connect(off, &QCheckBox::toggled, this, flag.off_click);
    block->addWidget(on, i + 1, 0);
    block->addWidget(off, i + 1, 1);
  }
  block->setColumnStretch(2, 1);
  return block;
}

QLayout* TEditFilterDlg::BuildConditionList() {
  m_pListView = Named(new QTableWidget(0, 5, this), "m_pListView");
  m_pListView->setHorizontalHeaderLabels(
      {Tr("Quantity"), Tr("Subquantities"), Tr("Flags"), Tr("Index"), Tr("Device")});
  m_pListView->verticalHeader()->hide();
  m_pListView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_pListView->horizontalHeader()->setStretchLastSection(true);
  m_pListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pListView->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pListView->setAccessibleName(Tr("Conditions"));
  units::dialogs::UseSymbolFont(m_pListView, context_.settings);
  connect(m_pListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TEditFilterDlg::m_pListViewSelectItem);

  m_pLabelEntryInfo = Named(new QLabel(this), "m_pLabelEntryInfo");
  QFont small = m_pLabelEntryInfo->font();
  small.setPointSize(9);
  m_pLabelEntryInfo->setFont(small);
  m_pLabelEntryInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Room for all ten flags, so that the dialog keeps its size whatever row is selected.
  m_pLabelEntryInfo->setText(InfoText({0, -1, 0, 0, 0, units::kTestFlags, ~0u}));
  m_pLabelEntryInfo->setMinimumSize(m_pLabelEntryInfo->sizeHint());
  m_pLabelEntryInfo->clear();

  auto* row = new QHBoxLayout;
  row->addWidget(m_pListView, 1);
  row->addWidget(m_pLabelEntryInfo);
  return row;
}

QPushButton* TEditFilterDlg::AddButton(const QString& name, const QString& caption, void (TEditFilterDlg::*handler)()) {
  auto* button = Named(new QPushButton(caption, this), name);
  connect(button, &QPushButton::clicked, this, handler);
  return button;
}

QLayout* TEditFilterDlg::BuildButtons() {
  m_pButtonRemove = AddButton("m_pButtonRemove", Tr("Remove"), &TEditFilterDlg::m_pButtonRemoveClick);
  m_pButtonOk = AddButton("m_pButtonOk", Tr("Ok"), &TEditFilterDlg::m_pButtonOkClick);
  m_pButtonOk->setDefault(true);
  m_pButtonCancel = AddButton("m_pButtonCancel", Tr("Cancel"), &TEditFilterDlg::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_pButtonRemove);
  buttons->addStretch();
  buttons->addWidget(m_pButtonOk);
  buttons->addWidget(m_pButtonCancel);
  return buttons;
}

const units::Combination* TEditFilterDlg::SelectedChoice() const {
  const QList<QListWidgetItem*> selected = m_pQuantityListBox->selectedItems();
  if (selected.isEmpty()) return nullptr;
  return &source_.choices[static_cast<size_t>(m_pQuantityListBox->row(selected.first()))].combination;
}

// The plain szSymbol whatever the text mode: the slot's where the condition names a defined slot
// exactly (number, and flags or none), else the quantity's; the number where the catalogue lacks it.
QString TEditFilterDlg::QuantityText(const t_FilterCondition& condition) const {
  const t_quantity* quantity = source_.catalogue != nullptr ? source_.catalogue->Find(condition.wQuantity) : nullptr;
  if (quantity == nullptr) return QString::number(condition.wQuantity);
  const uint32_t flags = (condition.wTests & units::kTestFlags) != 0 ? condition.dwFlagValue : 0;
  for (const t_subquantity& slot : quantity->aSubQuantity) {
    if ((condition.wTests & units::kTestSubQuantity) != 0 && (slot.wState & units::kSlotDefined) != 0 &&
        slot.lSubQuan == condition.lSubQuan && slot.dwFlags == flags) {
      return FieldText(slot.szSymbol);
    }
  }
  return FieldText(quantity->szSymbol);
}

QStringList TEditFilterDlg::ColumnTexts(const t_FilterCondition& condition) const {
  const QString numbers[] = {QuantityText(condition), QString::number(condition.lSubQuan),
                             QString::number(condition.dwFlagValue), QString::number(condition.wIndex),
                             QString::number(condition.wDevice)};
  QStringList texts;
  for (int i = 0; i < 5; ++i) texts << ((condition.wTests & kTestRows[i].test) != 0 ? numbers[i] : QString());
  return texts;
}

void TEditFilterDlg::AddRow(const t_FilterCondition& condition, const QStringList& texts) {
  const int row = m_pListView->rowCount();
  conditions_.push_back(condition);  // first, so that a selection signal for the new row finds it
  m_pListView->insertRow(row);
  for (int i = 0; i < texts.size(); ++i) m_pListView->setItem(row, i, new QTableWidgetItem(texts[i]));
}

QString TEditFilterDlg::InfoText(const t_FilterCondition& condition) const {
  if ((condition.wTests & units::kTestFlags) == 0) return QString();
  QString text;
  for (const FlagRow& flag : kFlagRows) {
    if ((condition.dwFlagMask & flag.bit) == 0) continue;
    const char* state = (condition.dwFlagValue & flag.bit) != 0 ? "On" : "Off";
    text += Tr(state) + QStringLiteral(": ") + Tr(flag.info_name, flag.selector) + u'\n';
  }
  return text;
}

void TEditFilterDlg::TakeFromList(const TestRow& row) {
  const units::Combination* choice = SelectedChoice();
  if (choice == nullptr) return;
  // The quantity as its number; the others as their columns show them.
  const t_FilterCondition condition = ExactCondition(*choice);
  const int column = static_cast<int>(&row - kTestRows);
  (this->*row.edit)->setText(column == 0 ? QString::number(choice->quantity) : ColumnTexts(condition)[column]);
  (this->*row.box)->setChecked(true);
}

void TEditFilterDlg::m_pButtonQuantityFromListClick() { TakeFromList(kTestRows[0]); }
void TEditFilterDlg::m_pButtonSubQuantityFromListClick() { TakeFromList(kTestRows[1]); }
void TEditFilterDlg::m_pButtonIndexFromListClick() { TakeFromList(kTestRows[3]); }
void TEditFilterDlg::m_pButtonDeviceFromListClick() { TakeFromList(kTestRows[4]); }

void TEditFilterDlg::m_pButtonFlagsFromListClick() {
  const units::Combination* choice = SelectedChoice();
  if (choice == nullptr) return;
  for (const FlagRow& flag : kFlagRows) {
    (this->*flag.on)->setChecked((choice->flags & flag.bit) != 0);
    (this->*flag.off)->setChecked((choice->flags & flag.bit) == 0);
  }
  m_pCheckBoxFlags->setChecked(true);
}

void TEditFilterDlg::m_pButtonAddQuantityClick() {
  const units::Combination* choice = SelectedChoice();
  if (choice != nullptr) AddRow(ExactCondition(*choice), ColumnTexts(ExactCondition(*choice)));
}

void TEditFilterDlg::m_pButtonAddClick() {
  t_FilterCondition condition;
  units::InitCondition(&condition);
  for (const TestRow& row : kTestRows) {
    if (!(this->*row.box)->isChecked()) continue;
    condition.wTests |= row.test;
    if (row.edit != nullptr) StoreNumber(&condition, row.test, WrappedNumber((this->*row.edit)->text()));
  }
  for (const FlagRow& flag : kFlagRows) {
    if ((condition.wTests & units::kTestFlags) == 0) break;
    if ((this->*flag.on)->isChecked()) condition.dwFlagValue |= flag.bit;
    if ((this->*flag.on)->isChecked() || (this->*flag.off)->isChecked()) condition.dwFlagMask |= flag.bit;
  }
  if (condition.wTests == 0) return;
  // The numbers as typed; the quantity column shows the quantity's text.
  QStringList texts = ColumnTexts(condition);
  for (int i = 1; i < 5; ++i) {
    const TestRow& row = kTestRows[i];
    if (row.edit != nullptr && (this->*row.box)->isChecked()) texts[i] = (this->*row.edit)->text();
  }
  AddRow(condition, texts);
}

// The Off boxes stay.
void TEditFilterDlg::m_pButtonClearClick() {
  for (const TestRow& row : kTestRows) {
    (this->*row.box)->setChecked(false);
    if (row.edit != nullptr) (this->*row.edit)->clear();
  }
  for (const FlagRow& flag : kFlagRows) (this->*flag.on)->setChecked(false);
}

// The rows to remove are taken before the first goes: the view selects the
// next row of its own when the selected one is removed, and that row must
// not go too.
void TEditFilterDlg::m_pButtonRemoveClick() {
  std::vector<int> selected;
  for (int row = 0; row < m_pListView->rowCount(); ++row) {
    if (m_pListView->selectionModel()->isRowSelected(row, QModelIndex())) selected.push_back(row);
  }
  int lowest = -1;
  for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
    m_pListView->removeRow(*row);
    conditions_.erase(conditions_.begin() + *row);
    lowest = *row;
  }
  if (lowest >= 0 && conditions_.empty()) m_pLabelEntryInfo->clear();  // the row it described is gone
  if (lowest >= 0 && !conditions_.empty()) m_pListView->selectRow(std::min(lowest, m_pListView->rowCount() - 1));
}

// For the row that was selected or deselected.
void TEditFilterDlg::m_pListViewSelectItem(const QItemSelection& selected, const QItemSelection& deselected) {
  const QModelIndexList changed = !selected.isEmpty() ? selected.indexes() : deselected.indexes();
  if (changed.isEmpty()) return;
  if (!selected.isEmpty()) m_pListView->scrollTo(changed.first());  // also when selected by the program
  const size_t row = static_cast<size_t>(changed.first().row());
  m_pLabelEntryInfo->setText(row < conditions_.size() ? InfoText(conditions_[row]) : QString());
}

void TEditFilterDlg::m_pButtonOkClick() {
  const QString name = m_pFilterEntryName->text();
  std::vector<t_FilterCondition> kept;
  for (const t_FilterCondition& condition : conditions_) {
    if ((condition.wTests & kAllTests) != 0) kept.push_back(condition);
  }
  if (name.isEmpty() || kept.empty()) return;
  // aCondition holds 100: refuse, rather than drop what the user collected.
  if (kept.size() > static_cast<size_t>(units::kMaxConditions)) {
    const QString text = Tr("Too many conditions: a group takes at most 100.\nRows to remove: %1")
                             .arg(kept.size() - static_cast<size_t>(units::kMaxConditions));
    context_.toolkit->ShowMessage(this, text, windowTitle(), units::dialogs::ToolkitServices::Icon::kWarning,
                                  units::dialogs::ToolkitServices::Placement::kForeground);
    return;
  }
  WriteEntry(name, kept);
  accept();
}

void TEditFilterDlg::WriteEntry(const QString& name, const std::vector<t_FilterCondition>& conditions) {
  // The old bytes first, so that an unedited legacy name survives; one without its NUL is written anew.
  char old_name[units::kGroupNameWidth];
  std::memcpy(old_name, entry_->szName, sizeof(old_name));
  units::InitFilterEntry(entry_);
  if (std::memchr(old_name, '\0', sizeof(old_name)) != nullptr) std::memcpy(entry_->szName, old_name, sizeof(old_name));
  units::dialogs::StoreFieldText(entry_->szName, name);
  for (const t_FilterCondition& condition : conditions) entry_->aCondition[entry_->lCount++] = condition;
}

#define UNITS_FLAG_HANDLERS(Name)                                                                             \
  void TEditFilterDlg::m_pCheckBox##Name##Click() { ExcludePartner(m_pCheckBox##Name, m_pCheckBox##Name##Off); } \
  void TEditFilterDlg::m_pCheckBox##Name##OffClick() { ExcludePartner(m_pCheckBox##Name##Off, m_pCheckBox##Name); }
UNITS_FLAG_HANDLERS(Set) UNITS_FLAG_HANDLERS(Data) UNITS_FLAG_HANDLERS(Error) UNITS_FLAG_HANDLERS(Calculated)
UNITS_FLAG_HANDLERS(Corrected) UNITS_FLAG_HANDLERS(Function) UNITS_FLAG_HANDLERS(Mean) UNITS_FLAG_HANDLERS(Smooth)
UNITS_FLAG_HANDLERS(Offset) UNITS_FLAG_HANDLERS(Equi)
#undef UNITS_FLAG_HANDLERS
