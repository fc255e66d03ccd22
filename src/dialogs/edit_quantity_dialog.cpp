#include "dialogs/edit_quantity_dialog.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>
#include <string>
#include <vector>

#include "dialogs/edit_subquantity_dialog.h"
#include "dialogs/edit_unit_dialog.h"
#include "dialogs/fonts.h"
#include "dialogs/image_list.h"
#include "dialogs/numbers.h"
#include "dialogs/quantity_list.h"
#include "dialogs/texts.h"

using units::dialogs::FieldText;
using units::dialogs::StoreFieldText;
using units::dialogs::ToolkitServices;
using units::dialogs::Tr;

namespace {

constexpr int kRestrictedEditing = 0;
constexpr int kAutomaticCreation = 2;

QString TranslatedName(const char* name, size_t width) {
  return Tr(FieldText(name, width).toUtf8().constData());
}

// The translation of a caption format holding one "%s". Only that "%s" is
// filled, so a translation with other conversions cannot read past the
// argument list.
QString FormatWithText(const QString& format, const QString& text) {
  const qsizetype at = format.indexOf(QStringLiteral("%s"));
  return at < 0 ? format : format.left(at) + text + format.mid(at + 2);
}

QPushButton* NewButton(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(Tr(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

// A list with its buttons stacked on its right.
void LayOutListPage(QWidget* page, QWidget* list, const QList<QPushButton*>& buttons) {
  auto* column = new QVBoxLayout;
  for (QPushButton* button : buttons) column->addWidget(button);
  column->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(list);
  layout->addLayout(column);
}

int FirstFreeUnitSlot(const t_quantity& record) {
  for (int slot = 0; slot < units::kUnitSlots; ++slot) {
    if ((record.aUnit[slot].wState & units::kUnitDefined) == 0) return slot;
  }
  return -1;
}

int FirstFreeSubQuantitySlot(const t_quantity& record) {
  for (int slot = 0; slot < units::kSubQuantitySlots; ++slot) {
    if ((record.aSubQuantity[slot].wState & units::kSlotDefined) == 0) return slot;
  }
  return -1;
}

std::vector<bool> SelectionOf(const QTreeWidget* list) {
  std::vector<bool> selected;
  for (int row = 0; row < list->topLevelItemCount(); ++row) selected.push_back(list->topLevelItem(row)->isSelected());
  return selected;
}

}  // namespace

namespace units {
namespace dialogs {

// Identifier, name, SI unit, symbol and text, filled from the record and
// limited to what the record's fields hold.
class EditQuantityGeneralPage : public QWidget {
 public:
  EditQuantityGeneralPage(QWidget* parent, const t_quantity& record, const DialogSettings& settings)
      : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheetGeneral"));
    const bool restricted = settings.edit_mode == kRestrictedEditing;
    GenEditName = AddRow("Name", "GenLabelName", "GenEditName", kNameWidth - 1,
                         restricted ? TranslatedName(record.szName, kNameWidth) : FieldText(record.szName));
    GenEditSI = AddRow("SI-Unit", "GenLabelSI", "GenEditSI", kSymbolWidth - 1, FieldText(record.aUnit[0].szText));
    GenEditSymbol = AddRow("Symbol", "GenLabelSymbol", "GenEditSymbol", kSymbolWidth - 1, FieldText(record.szSymbol));
    GenEditText = AddRow("Text", "GenLabelText", "GenEditText", kSymbolWidth - 1, FieldText(record.szText));
    GenEditGrosse = AddRow("Quantity", "GenLabelGroesse", "GenEditGrosse", 0, QString::number(record.wId));
    GenInfoLabelGroesse = new QLabel(this);
    GenInfoLabelGroesse->setObjectName(QStringLiteral("GenInfoLabelGroesse"));
    UseSymbolFont(GenEditSymbol, settings);
    UseSymbolFont(GenInfoLabelGroesse, settings);
    QFont bold = GenInfoLabelGroesse->font();
    bold.setBold(true);
    GenInfoLabelGroesse->setFont(bold);
    // Room for the two lines of a taken identifier, so the page does not jump.
    GenInfoLabelGroesse->setMinimumHeight(2 * QFontMetrics(bold).lineSpacing());
    grid_->addWidget(GenInfoLabelGroesse, grid_->rowCount(), 1);
    grid_->setRowStretch(grid_->rowCount(), 1);
    ApplyEditMode(settings.edit_mode);
  }

  QLineEdit* GenEditName;
  QLineEdit* GenEditSI;
  QLineEdit* GenEditSymbol;
  QLineEdit* GenEditText;
  QLineEdit* GenEditGrosse;
  QLabel* GenInfoLabelGroesse;

 private:
  // A label and its edit; `max_bytes` 0 leaves the edit unlimited.
  QLineEdit* AddRow(const char* caption, const char* label_name, const char* edit_name, size_t max_bytes,
                    const QString& text) {
    auto* label = new QLabel(Tr(caption), this);
    label->setObjectName(QString::fromLatin1(label_name));
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(QString::fromLatin1(edit_name));
    if (max_bytes > 0) LimitToBytes(edit, max_bytes);
    label->setBuddy(edit);
    const int row = grid_->rowCount();
    grid_->addWidget(label, row, 0);
    grid_->addWidget(edit, row, 1);
    return edit;
  }

  void ApplyEditMode(int edit_mode) {
    if (edit_mode == kRestrictedEditing) {
      for (QLineEdit* edit : {GenEditName, GenEditSI, GenEditSymbol, GenEditText}) edit->setEnabled(false);
      GenEditGrosse->hide();
    } else if (edit_mode == kAutomaticCreation) {
      GenEditGrosse->setEnabled(false);
    }
  }

  QGridLayout* grid_ = new QGridLayout(this);
};

class EditQuantityUnitsPage : public QWidget {
 public:
  explicit EditQuantityUnitsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheetQuantity"));
    QuanListBox = new QListWidget(this);
    QuanListBox->setObjectName(QStringLiteral("QuanListBox"));
    QuanListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QuanListBox->setAccessibleName(Tr("Units"));
    QuanAdd = NewButton("Add", "QuanAdd", this);
    QuanEdit = NewButton("Edit", "QuanEdit", this);
    QuanRemove = NewButton("Remove", "QuanRemove", this);
    LayOutListPage(this, QuanListBox, {QuanAdd, QuanEdit, QuanRemove});
  }

  QListWidget* QuanListBox;
  QPushButton* QuanAdd;
  QPushButton* QuanEdit;
  QPushButton* QuanRemove;
};

class EditQuantitySubQuantitiesPage : public QWidget {
 public:
  EditQuantitySubQuantitiesPage(QWidget* parent, const DialogSettings& settings) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheetSubQuantity"));
    SubQuanListView = new QTreeWidget(this);
    SubQuanListView->setObjectName(QStringLiteral("SubQuanListView"));
    SubQuanListView->setColumnCount(3);
    SubQuanListView->setHeaderHidden(true);
    SubQuanListView->setRootIsDecorated(false);
    SubQuanListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SubQuanListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SubQuanListView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    SubQuanListView->setAccessibleName(Tr("Subquantities"));
    UseSymbolFont(SubQuanListView, settings);
    SubQuanAdd = NewButton("Add", "SubQuanAdd", this);
    SubQuanEdit = NewButton("Edit", "SubQuanEdit", this);
    SubQuanRemove = NewButton("Remove", "SubQuanRemove", this);
    SubQuanEnable = NewButton("Enable", "SubQuanEnable", this);
    SubQuanDisable = NewButton("Disable", "SubQuanDisable", this);
    LayOutListPage(this, SubQuanListView, {SubQuanAdd, SubQuanEdit, SubQuanRemove, SubQuanEnable, SubQuanDisable});
  }

  QTreeWidget* SubQuanListView;
  QPushButton* SubQuanAdd;
  QPushButton* SubQuanEdit;
  QPushButton* SubQuanRemove;
  QPushButton* SubQuanEnable;
  QPushButton* SubQuanDisable;
};

}  // namespace dialogs
}  // namespace units

uint32_t UnitSlotOfRow(const t_quantity& record, int row) {
  if (row < 0) return 0;
  int count = 0;
  for (uint32_t slot = 0; slot < units::kUnitSlots; ++slot) {
    if ((record.aUnit[slot].wState & units::kUnitDefined) == 0) continue;
    if (count++ == row) return slot;
  }
  return 0;
}

int SubQuantitySlotOfRow(const t_quantity& record, int row) {
  if (row < 0) return -1;
  int count = 0;
  for (int slot = 0; slot < units::kSubQuantitySlots; ++slot) {
    if ((record.aSubQuantity[slot].wState & units::kSlotDefined) == 0) continue;
    if (count++ == row) return slot;
  }
  return -1;
}

TEditQuantityDlg::TEditQuantityDlg(QWidget* owner, t_quantity* record, const units::dialogs::DialogContext& context)
    : QDialog(owner), record_(record), context_(context) {
  setObjectName(QStringLiteral("TEditQuantityDlg"));
  units::dialogs::UseDialogFont(this, context_.settings);
  const QString name = record_->szName[0] == '\0' ? Tr("New Quantity")
                                                  : TranslatedName(record_->szName, units::kNameWidth);
  setWindowTitle(FormatWithText(Tr("Properties of '%s'", 0), name));

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  TabSheetGeneral = new units::dialogs::EditQuantityGeneralPage(PageControl1, *record_, context_.settings);
  TabSheetQuantity = new units::dialogs::EditQuantityUnitsPage(PageControl1);
  TabSheetSubQuantity = new units::dialogs::EditQuantitySubQuantitiesPage(PageControl1, context_.settings);
  PageControl1->addTab(TabSheetGeneral, Tr("General"));
  PageControl1->addTab(TabSheetQuantity, Tr("Units"));
  PageControl1->addTab(TabSheetSubQuantity, Tr("Subquantities"));

  OKBtn = NewButton("Ok", "OKBtn", this);
  OKBtn->setDefault(true);
  CancelBtn = NewButton("Cancel", "CancelBtn", this);
  HelpBtn = NewButton("Help", "HelpBtn", this);
  HelpBtn->hide();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {OKBtn, CancelBtn, HelpBtn}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1);
  layout->addLayout(buttons);
  // A fixed dialog border: the size the contents need, not resizable.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(OKBtn, &QPushButton::clicked, this, &TEditQuantityDlg::OKButtonClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(TabSheetGeneral->GenEditGrosse, &QLineEdit::textChanged, this, &TEditQuantityDlg::GenEditGrosseChange);
  const auto* units_page = TabSheetQuantity;
  // Only the user's selection changes reach the handler: the program's own
  // (refills, the row left after a removal) run with the list's signals
  // blocked, so the buttons keep their state until the user acts.
  connect(units_page->QuanListBox, &QListWidget::itemSelectionChanged, this, &TEditQuantityDlg::QuanListBoxClick);
  connect(units_page->QuanListBox, &QListWidget::itemDoubleClicked, this, &TEditQuantityDlg::QuanEditClick);
  connect(units_page->QuanAdd, &QPushButton::clicked, this, &TEditQuantityDlg::QuanAddClick);
  connect(units_page->QuanEdit, &QPushButton::clicked, this, &TEditQuantityDlg::QuanEditClick);
  connect(units_page->QuanRemove, &QPushButton::clicked, this, &TEditQuantityDlg::QuanRemoveClick);
  const auto* sub_page = TabSheetSubQuantity;
  connect(sub_page->SubQuanListView, &QTreeWidget::itemSelectionChanged, this,
          &TEditQuantityDlg::SubQuanListViewSelectItem);
  connect(sub_page->SubQuanListView, &QTreeWidget::itemDoubleClicked, this, &TEditQuantityDlg::SubQuanEditClick);
  connect(sub_page->SubQuanAdd, &QPushButton::clicked, this, &TEditQuantityDlg::SubQuanAddClick);
  connect(sub_page->SubQuanEdit, &QPushButton::clicked, this, &TEditQuantityDlg::SubQuanEditClick);
  connect(sub_page->SubQuanRemove, &QPushButton::clicked, this, &TEditQuantityDlg::SubQuanRemoveClick);
  connect(sub_page->SubQuanEnable, &QPushButton::clicked, this, &TEditQuantityDlg::SubQuanEnableClick);
  connect(sub_page->SubQuanDisable, &QPushButton::clicked, this, &TEditQuantityDlg::SubQuanDisableClick);

  TabSheetGeneral->GenInfoLabelGroesse->clear();
  FillUnitList();
  SelectCurrentUnit();
  UpdateUnitButtons();
  FillSubQuantityList();
  PageControl1->setCurrentIndex(0);
}

// The row of dwUnit: one row less for every undefined slot up to it.
void TEditQuantityDlg::SelectCurrentUnit() {
  QListWidget* list = TabSheetQuantity->QuanListBox;
  if (list->count() == 0) return;
  int64_t row = record_->dwUnit;
  for (uint32_t slot = 0; slot <= record_->dwUnit && slot < units::kUnitSlots; ++slot) {
    if ((record_->aUnit[slot].wState & units::kUnitDefined) == 0 && row > 0) --row;
  }
  SelectOnlyUnitRow(row < list->count() ? static_cast<int>(row) : 0);
}

void TEditQuantityDlg::SelectOnlyUnitRow(int row) {
  QListWidget* list = TabSheetQuantity->QuanListBox;
  const QSignalBlocker quiet(list);
  list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void TEditQuantityDlg::FillUnitList() {
  QListWidget* list = TabSheetQuantity->QuanListBox;
  {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const t_quantityunit& unit : record_->aUnit) {
      if (unit.wState & units::kUnitDefined) list->addItem(FieldText(unit.szText));
    }
  }
  UpdateUnitButtons();
}

void TEditQuantityDlg::UpdateUnitButtons() {
  const QListWidget* list = TabSheetQuantity->QuanListBox;
  if (list->count() == 0) return;
  const int selected = static_cast<int>(list->selectedItems().size());
  const bool base_selected = list->item(0)->isSelected();
  TabSheetQuantity->QuanEdit->setEnabled(!base_selected && selected == 1);
  TabSheetQuantity->QuanRemove->setEnabled(!base_selected && selected >= 1);
}

void TEditQuantityDlg::QuanListBoxClick() { UpdateUnitButtons(); }

bool TEditQuantityDlg::EditUnit(uint32_t slot) {
  // The edit-unit dialog keeps its own copy; a damaged base text without
  // its NUL must not be read past its field.
  const std::string base(record_->aUnit[0].szText, strnlen(record_->aUnit[0].szText, units::kSymbolWidth));
  TEditUnitDlg dialog(parentWidget(), base.c_str(), &record_->aUnit[slot], "Edit unit", context_);
  return dialog.exec() == QDialog::Accepted;
}

void TEditQuantityDlg::QuanAddClick() {
  const int slot = FirstFreeUnitSlot(*record_);
  if (slot < 0) {
    context_.toolkit->ShowMessage(nullptr, Tr("No available entries"), Tr("Add unit"), ToolkitServices::Icon::kNone,
                                  ToolkitServices::Placement::kForeground);
    return;
  }
  // The slot is offered as it is: a removed unit comes back with its values.
  if (!EditUnit(static_cast<uint32_t>(slot))) return;
  record_->aUnit[slot].wState |= units::kUnitDefined;
  FillUnitList();
  if (TabSheetQuantity->QuanListBox->count() > 0) SelectOnlyUnitRow(0);
}

void TEditQuantityDlg::QuanEditClick() {
  const QListWidget* list = TabSheetQuantity->QuanListBox;
  for (int row = list->count() - 1; row >= 0; --row) {
    if (!list->item(row)->isSelected()) continue;
    const uint32_t slot = UnitSlotOfRow(*record_, row);
    // The base unit's text belongs to GenEditSI; its factor stays 1.
    if (slot == 0 || !EditUnit(slot)) continue;
    FillUnitList();
    return;
  }
}

void TEditQuantityDlg::QuanRemoveClick() {
  const QListWidget* list = TabSheetQuantity->QuanListBox;
  int highest_removed = -1;
  // From the last row up, so the rows still to come keep their slots.
  for (int row = list->count() - 1; row >= 0; --row) {
    if (!list->item(row)->isSelected()) continue;
    const uint32_t slot = UnitSlotOfRow(*record_, row);
    if (slot == 0) continue;
    record_->aUnit[slot].wState &= static_cast<uint16_t>(~units::kUnitDefined);
    if (highest_removed < 0) highest_removed = row;
  }
  FillUnitList();
  const int count = list->count();
  if (count == 0) return;
  const int row = highest_removed < 0 ? 0 : highest_removed;
  SelectOnlyUnitRow(row < count ? row : count - 1);
}

void TEditQuantityDlg::FillSubQuantityList() {
  QTreeWidget* list = TabSheetSubQuantity->SubQuanListView;
  {
    const QSignalBlocker quiet(list);
    const std::vector<bool> selected = SelectionOf(list);
    list->clear();
    for (const t_subquantity& slot : record_->aSubQuantity) {
      if ((slot.wState & units::kSlotDefined) == 0) continue;
      auto* row = new QTreeWidgetItem(list);
      const bool enabled = (slot.wState & units::kSlotEnabled) != 0;
      row->setIcon(0, units::dialogs::ListImage(enabled ? units::dialogs::kImageTick : units::dialogs::kImageCross));
      const char* symbol = units::SubQuantityDisplaySymbol(slot, context_.settings.text_mode);
      row->setText(1, FieldText(symbol, units::kSymbolWidth));
      row->setText(2, TranslatedName(slot.szName, units::kNameWidth));
    }
    // By position: the rows that moved up take the selection of the rows
    // that stood there.
    for (size_t row = 0; row < selected.size() && row < static_cast<size_t>(list->topLevelItemCount()); ++row) {
      list->topLevelItem(static_cast<int>(row))->setSelected(selected[row]);
    }
  }
  UpdateSubQuantityButtons();
}

void TEditQuantityDlg::UpdateSubQuantityButtons() {
  const auto* page = TabSheetSubQuantity;
  const int selected = static_cast<int>(page->SubQuanListView->selectedItems().size());
  if (context_.settings.edit_mode == kRestrictedEditing) {
    page->SubQuanEdit->setEnabled(selected == 1);
    for (QPushButton* button : {page->SubQuanAdd, page->SubQuanRemove, page->SubQuanEnable, page->SubQuanDisable}) {
      button->setEnabled(false);
    }
    return;
  }
  page->SubQuanEdit->setEnabled(selected == 1);
  for (QPushButton* button : {page->SubQuanRemove, page->SubQuanEnable, page->SubQuanDisable}) {
    button->setEnabled(selected >= 1);
  }
}

void TEditQuantityDlg::SubQuanListViewSelectItem() { UpdateSubQuantityButtons(); }

void TEditQuantityDlg::SubQuanAddClick() {
  const int slot_number = FirstFreeSubQuantitySlot(*record_);
  if (slot_number < 0) {
    context_.toolkit->ShowMessage(nullptr, Tr("No available entries"), Tr("Add subquantity"),
                                  ToolkitServices::Icon::kNone, ToolkitServices::Placement::kForeground);
    return;
  }
  t_subquantity& slot = record_->aSubQuantity[slot_number];
  slot.lSubQuan = 0;
  units::CopyText(slot.szName, sizeof(slot.szName), "");
  units::CopyText(slot.szSymbol, sizeof(slot.szSymbol), "");
  TEditSubQuantityDlg dialog(parentWidget(), &slot, "Add subquantity", context_);
  if (dialog.exec() != QDialog::Accepted) return;
  slot.wState |= units::kSlotDefined | units::kSlotEnabled;
  FillSubQuantityList();
}

void TEditQuantityDlg::SubQuanEditClick() {
  const QTreeWidget* list = TabSheetSubQuantity->SubQuanListView;
  for (int row = 0; row < list->topLevelItemCount(); ++row) {
    if (!list->topLevelItem(row)->isSelected()) continue;
    const int slot = SubQuantitySlotOfRow(*record_, row);
    if (slot < 0) return;
    TEditSubQuantityDlg dialog(parentWidget(), &record_->aSubQuantity[slot], "Edit subquantity", context_);
    if (dialog.exec() == QDialog::Accepted) FillSubQuantityList();
    return;
  }
}

void TEditQuantityDlg::SubQuanRemoveClick() {
  const QTreeWidget* list = TabSheetSubQuantity->SubQuanListView;
  for (int row = list->topLevelItemCount() - 1; row >= 0; --row) {
    if (!list->topLevelItem(row)->isSelected()) continue;
    const int slot = SubQuantitySlotOfRow(*record_, row);
    if (slot < 0) continue;
    record_->aSubQuantity[slot].wState &= static_cast<uint16_t>(~units::kSlotDefined);
    record_->aSubQuantity[slot].wCount = 0;
  }
  FillSubQuantityList();
}

void TEditQuantityDlg::SetSubQuantitiesEnabled(bool enabled) {
  const QTreeWidget* list = TabSheetSubQuantity->SubQuanListView;
  for (int row = 0; row < list->topLevelItemCount(); ++row) {
    const int slot = SubQuantitySlotOfRow(*record_, row);
    if (!list->topLevelItem(row)->isSelected() || slot < 0) continue;
    // By value: the record is packed, a reference to its field may be misaligned.
    t_subquantity& sub = record_->aSubQuantity[slot];
    const uint16_t state = sub.wState;
    sub.wState = enabled ? static_cast<uint16_t>(state | units::kSlotEnabled)
                         : static_cast<uint16_t>(state & ~units::kSlotEnabled);
  }
  // The refill gives every row its selection back by position.
  FillSubQuantityList();
}

void TEditQuantityDlg::SubQuanEnableClick() { SetSubQuantitiesEnabled(true); }

void TEditQuantityDlg::SubQuanDisableClick() { SetSubQuantitiesEnabled(false); }

uint16_t TEditQuantityDlg::IdentifierTyped() const {
  return static_cast<uint16_t>(units::dialogs::ReadInteger(TabSheetGeneral->GenEditGrosse->text()) & 0xFFFF);
}

void TEditQuantityDlg::GenEditGrosseChange() {
  QLabel* info = TabSheetGeneral->GenInfoLabelGroesse;
  info->clear();
  const uint16_t id = IdentifierTyped();
  if (record_->wId != 0 && record_->wId == id) return;
  const units::dialogs::QuantityList* list = units::dialogs::OpenQuantityList(context_.settings);
  QString row_text;
  if (list != nullptr && list->FindListQuantity(id, &row_text)) {
    info->setText(Tr("Quantity already exists") + QStringLiteral(":\n") + row_text);
  }
}

void TEditQuantityDlg::OKButtonClick() {
  const uint16_t id = IdentifierTyped();
  const units::dialogs::QuantityList* list = units::dialogs::OpenQuantityList(context_.settings);
  if ((record_->wId == 0 || record_->wId != id) && list != nullptr && list->FindListQuantity(id, nullptr)) {
    context_.toolkit->ShowMessage(this, QStringLiteral("Quantity already exists!"), Tr("Quantities / Units"),
                                  ToolkitServices::Icon::kWarning, ToolkitServices::Placement::kOnTop);
    return;
  }
  const auto* general = TabSheetGeneral;
  StoreFieldText(record_->szSymbol, general->GenEditSymbol->text());
  StoreFieldText(record_->szText, general->GenEditText->text());
  if (context_.settings.edit_mode != kRestrictedEditing) {
    StoreFieldText(record_->szName, general->GenEditName->text());
    StoreFieldText(record_->aUnit[0].szText, general->GenEditSI->text());
    record_->wId = id;
  }
  const QListWidget* units_list = TabSheetQuantity->QuanListBox;
  const QList<QListWidgetItem*> selected = units_list->selectedItems();
  if (units_list->count() > 0 && selected.size() == 1) {
    record_->dwUnit = UnitSlotOfRow(*record_, units_list->row(selected.first()));
  }
  accept();
}
