#include "dialogs/main_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "dialogs/edit_filter_dialog.h"
#include "dialogs/edit_quantity_dialog.h"
#include "dialogs/fonts.h"
#include "dialogs/groups_page.h"
#include "dialogs/image_list.h"
#include "dialogs/texts.h"
#include "dialogs/unit_select_dialog.h"
#include "model/udf_format.h"
#include "platform/files.h"
#include "storage/store_files.h"

using units::dialogs::FieldText;
using units::dialogs::ToolkitServices;
using units::dialogs::Tr;

namespace {

// Controls that need a privilege bit besides the selection.
constexpr uint32_t kMayChooseTextMode = 0x2;
constexpr uint32_t kMayChooseUnit = 0x10;
constexpr uint32_t kMayEditQuantities = 0x20;
constexpr uint32_t kMayEnableQuantities = 0x40;
constexpr uint32_t kMayImport = 0x100;
constexpr uint32_t kMayExport = 0x200;
constexpr uint32_t kMayReplace = 0x400;

constexpr int kSortKeyRole = Qt::UserRole;
const units::dialogs::FileType kUdfFiles{QStringLiteral("Unit Data Files (*.UDF)|*.UDF"), QStringLiteral(".UDF")};

enum Column { kStateColumn = 0, kSymbolColumn, kNameColumn, kUnitColumn };

QString TranslatedName(const t_quantity& record) { return Tr(FieldText(record.szName).toUtf8().constData()); }

// A row of the quantity list: owns the working copy of one quantity and
// sorts by the translated name.
class QuantityRow : public QTreeWidgetItem {
 public:
  explicit QuantityRow(const t_quantity& copy) : record(copy) {}

  bool operator<(const QTreeWidgetItem& other) const override {
    return data(kStateColumn, kSortKeyRole).toString().localeAwareCompare(
               other.data(kStateColumn, kSortKeyRole).toString()) < 0;
  }

  t_quantity record;
};

t_quantity& RecordOf(QTreeWidgetItem* row) { return static_cast<QuantityRow*>(row)->record; }

QPushButton* NewButton(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(Tr(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

// Symbols and names are shown whole, the unit takes what is left. Measured
// with the font's metrics: the view's own fit to contents lays out every
// row again on each change, which made opening a list of 1,000 quantities
// eight times slower.
class ColumnWidths {
 public:
  explicit ColumnWidths(QTreeWidget* list) : list_(list), metrics_(list->font()) {
    // Room for the cell's margins on both sides.
    margins_ = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) + 8;
    for (int column : {kSymbolColumn, kNameColumn}) widths_[column] = list->header()->sectionSizeHint(column);
  }
  void Fit(const QTreeWidgetItem* row) {
    for (int column : {kSymbolColumn, kNameColumn}) {
      widths_[column] = std::max(widths_[column], metrics_.horizontalAdvance(row->text(column)) + margins_);
    }
  }
  void Apply() const {
    for (int column : {kSymbolColumn, kNameColumn}) list_->setColumnWidth(column, widths_[column]);
  }

 private:
  QTreeWidget* list_;
  QFontMetrics metrics_;
  int margins_;
  int widths_[4] = {};
};

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

TUnitMainDlg::TUnitMainDlg(QWidget* parent, units::MainDialogHost* host,
                           const units::dialogs::DialogContext& context)
    : QDialog(parent), host_(host), context_(context) {
  setObjectName(QStringLiteral("TUnitMainDlg"));
  context_.settings.text_mode = host_->Contents().text_mode;
  m_pPageControl = new QTabWidget(this);
  m_pPageControl->setObjectName(QStringLiteral("m_pPageControl"));
  m_pTabUnits = BuildUnitsPage();
  units::dialogs::GroupsPage::Hooks hooks{[this](t_FilterEntry* entry) { return EditGroup(entry); },
                                          [this] { BringToFront(); }};
  m_pTabFilter = new units::dialogs::GroupsPage(m_pPageControl, host_, context_, std::move(hooks));
  m_pTabFormat = BuildFormatPage();
  m_pPageControl->addTab(m_pTabUnits, Tr("Quantities / Units"));
  m_pPageControl->addTab(m_pTabFilter, Tr("Quantity groups"));
  m_pPageControl->addTab(m_pTabFormat, Tr("Unit format"));

  m_pkSymbolsCheckBox = new QCheckBox(Tr("Use text instead of symbols"), this);
  m_pkSymbolsCheckBox->setObjectName(QStringLiteral("m_pkSymbolsCheckBox"));
  m_pkCloseButton = NewButton("Close", "m_pkCloseButton", this);
  m_pkCloseButton->setDefault(true);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_pkSymbolsCheckBox);
  bottom->addStretch();
  bottom->addWidget(m_pkCloseButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pPageControl);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // The fonts come first: the list measures its columns in its own font.
  units::dialogs::UseDialogFont(this, context_.settings);
  units::dialogs::UseSymbolFont(m_pkListView, context_.settings);
  SetCaptions();
  FormCreate();
  ApplyPrivileges();
  // The list is what the dialog is about; the keyboard starts there.
  m_pkListView->setFocus();

  connect(m_pkCloseButton, &QPushButton::clicked, this, &TUnitMainDlg::CmOk);
  connect(m_pkSymbolsCheckBox, &QCheckBox::clicked, this, &TUnitMainDlg::ClickUseText);
  connect(m_pkAddButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkAddButtonClick);
  connect(m_pkEditButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkEditButtonClick);
  connect(m_pkListView, &QTreeWidget::itemDoubleClicked, this, &TUnitMainDlg::m_pkEditButtonClick);
  connect(m_pkRemoveButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkRemoveButtonClick);
  connect(m_pkEnableButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkEnableButtonClick);
  connect(m_pkDisableButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkDisableButtonClick);
  connect(m_pkImportButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkImportButtonClick);
  connect(m_pkExportButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkExportButtonClick);
  connect(m_pkReplaceButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkReplaceButtonClick);
  connect(m_pkUnitButton, &QPushButton::clicked, this, &TUnitMainDlg::m_pkUnitButtonClick);
  connect(m_pkListView, &QTreeWidget::itemSelectionChanged, this, &TUnitMainDlg::m_pkListViewSelectItem);
  connect(unit_formats_, &QButtonGroup::idClicked, this, &TUnitMainDlg::m_pRadioGroupUnitFormatClick);
}

TUnitMainDlg::~TUnitMainDlg() = default;

QWidget* TUnitMainDlg::BuildUnitsPage() {
  auto* page = new QWidget(m_pPageControl);
  page->setObjectName(QStringLiteral("m_pTabUnits"));
  m_pkListView = new QTreeWidget(page);
  m_pkListView->setObjectName(QStringLiteral("m_pkListView"));
  m_pkListView->setColumnCount(4);
  m_pkListView->setRootIsDecorated(false);
  m_pkListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pkListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pkListView->setAllColumnsShowFocus(true);
  m_pkListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pkListView->setIconSize(QSize(units::dialogs::kImageSize, units::dialogs::kImageSize));
  m_pkListView->setMinimumSize(460, 320);
  m_pkListView->header()->setStretchLastSection(true);
  m_pkListView->viewport()->installEventFilter(this);

  m_pkUnitButton = NewButton("Unit ...", "m_pkUnitButton", page);
  m_pkGroupQuantity = new QGroupBox(page);
  m_pkGroupQuantity->setObjectName(QStringLiteral("m_pkGroupQuantity"));
  m_pkAddButton = NewButton("Add ...", "m_pkAddButton", m_pkGroupQuantity);
  m_pkEditButton = NewButton("Edit ...", "m_pkEditButton", m_pkGroupQuantity);
  m_pkRemoveButton = NewButton("Remove", "m_pkRemoveButton", m_pkGroupQuantity);
  m_pkEnableButton = NewButton("Enable", "m_pkEnableButton", m_pkGroupQuantity);
  m_pkDisableButton = NewButton("Disable", "m_pkDisableButton", m_pkGroupQuantity);
  auto* group = new QVBoxLayout(m_pkGroupQuantity);
  for (QPushButton* button : {m_pkAddButton, m_pkEditButton, m_pkRemoveButton, m_pkEnableButton, m_pkDisableButton}) {
    group->addWidget(button);
  }
  m_pkImportButton = NewButton("Import ...", "m_pkImportButton", page);
  m_pkExportButton = NewButton("Export ...", "m_pkExportButton", page);
  m_pkReplaceButton = NewButton("Replace ...", "m_pkReplaceButton", page);

  auto* column = new QVBoxLayout;
  column->addWidget(m_pkUnitButton);
  column->addWidget(m_pkGroupQuantity);
  column->addStretch();
  for (QPushButton* button : {m_pkImportButton, m_pkExportButton, m_pkReplaceButton}) column->addWidget(button);
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(m_pkListView, 1);
  layout->addLayout(column);
  return page;
}

QWidget* TUnitMainDlg::BuildFormatPage() {
  auto* page = new QWidget(m_pPageControl);
  page->setObjectName(QStringLiteral("m_pTabFormat"));
  m_pRadioGroupUnitFormat = new QGroupBox(page);
  m_pRadioGroupUnitFormat->setObjectName(QStringLiteral("m_pRadioGroupUnitFormat"));
  unit_formats_ = new QButtonGroup(m_pRadioGroupUnitFormat);
  auto* items = new QVBoxLayout(m_pRadioGroupUnitFormat);
  for (int format = 0; format < 4; ++format) {
    auto* item = new QRadioButton(m_pRadioGroupUnitFormat);
    item->setObjectName(QStringLiteral("UnitFormat%1").arg(format));
    unit_formats_->addButton(item, format);
    items->addWidget(item);
  }
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(m_pRadioGroupUnitFormat);
  layout->addStretch();
  return page;
}

void TUnitMainDlg::SetCaptions() {
  setWindowTitle(Tr("Quantities / Units"));
  m_pkListView->setHeaderLabels({QString(), Tr("Symbol"), Tr("Quantity"), Tr("Unit")});
  m_pkListView->headerItem()->setTextAlignment(kSymbolColumn, Qt::AlignCenter);
  m_pkListView->setColumnWidth(kStateColumn, 40);
  m_pkListView->setAccessibleName(Tr("Quantities / Units"));
  m_pkGroupQuantity->setTitle(Tr("Quantity"));
  m_pRadioGroupUnitFormat->setTitle(Tr("Unit format for graph axis and table headers"));
  const char* formats[] = {"Quantity in unit, e.g. t in s", "Quantity / unit, e.g. t / s",
                           "Quantity / (unit), e.g. t / (s)", "Quantity [unit], e.g. t [s]"};
  for (int format = 0; format < 4; ++format) unit_formats_->button(format)->setText(Tr(formats[format], 0));
  QAbstractButton* last = unit_formats_->button(3);
  last->setText(last->text() + QStringLiteral("         ") + Tr("(not ISO, DIN conform !)"));
  if (QAbstractButton* current = unit_formats_->button(host_->Contents().unit_format)) current->setChecked(true);
  m_pPageControl->setCurrentWidget(m_pTabUnits);
  m_pkCloseButton->setToolTip(Tr("Units") + QStringLiteral(" Version: ") + QStringLiteral("3.00"));
}

void TUnitMainDlg::SetParentWindow(QWindow* window) {
  parent_window_ = window;
  if (window == nullptr) return;
  winId();
  if (windowHandle() != nullptr) windowHandle()->setTransientParent(window);
}

// ---- The quantity list ----

void TUnitMainDlg::FormCreate() {
  m_pkSymbolsCheckBox->setChecked(context_.settings.text_mode == units::kTextMode);
  const units::StoredContents contents = host_->Contents();
  if (contents.catalogue != nullptr) {
    for (const units::SharedQuantity& record : contents.catalogue->Records()) AddRow(*record);
  }
  UpdateListView();
}

void TUnitMainDlg::AddRow(const t_quantity& record) { m_pkListView->addTopLevelItem(new QuantityRow(record)); }

std::vector<QTreeWidgetItem*> TUnitMainDlg::SelectedRows() const {
  std::vector<QTreeWidgetItem*> rows;
  for (int row = 0; row < m_pkListView->topLevelItemCount(); ++row) {
    if (m_pkListView->topLevelItem(row)->isSelected()) rows.push_back(m_pkListView->topLevelItem(row));
  }
  return rows;
}

bool TUnitMainDlg::FindListQuantity(uint16_t id, QString* row_text) const {
  for (int row = 0; row < m_pkListView->topLevelItemCount(); ++row) {
    const t_quantity& record = RecordOf(m_pkListView->topLevelItem(row));
    if (record.wId != id) continue;
    if (row_text != nullptr) *row_text = FieldText(record.szSymbol) + QStringLiteral(" - ") + TranslatedName(record);
    return true;
  }
  return false;
}

void TUnitMainDlg::UpdateListView() {
  ColumnWidths widths(m_pkListView);
  const QIcon enabled_image = units::dialogs::ListImage(units::dialogs::kImageTick);
  const QIcon disabled_image = units::dialogs::ListImage(units::dialogs::kImageCross);
  for (int row = 0; row < m_pkListView->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = m_pkListView->topLevelItem(row);
    const t_quantity& record = RecordOf(item);
    const bool enabled = (record.dwState & units::kQuantityEnabled) != 0;
    item->setIcon(kStateColumn, enabled ? enabled_image : disabled_image);
    item->setData(kStateColumn, kSortKeyRole, TranslatedName(record));
    const char* symbol = units::QuantityDisplaySymbol(record, context_.settings.text_mode);
    item->setText(kSymbolColumn, FieldText(symbol, units::kSymbolWidth));
    item->setTextAlignment(kSymbolColumn, Qt::AlignCenter);
    item->setText(kNameColumn, TranslatedName(record));
    // A damaged unit number shows no unit instead of reading past the table.
    const bool unit_known = record.dwUnit < units::kUnitSlots;
    item->setText(kUnitColumn, unit_known ? FieldText(record.aUnit[record.dwUnit].szText) : QString());
    widths.Fit(item);
  }
  widths.Apply();
  m_pkListView->sortItems(kStateColumn, Qt::AscendingOrder);
  UpdateButtons();
}

void TUnitMainDlg::UpdateButtons() {
  const size_t selected = SelectedRows().size();
  m_pkEditButton->setEnabled(selected == 1);
  for (QPushButton* button :
       {m_pkUnitButton, m_pkRemoveButton, m_pkEnableButton, m_pkDisableButton, m_pkExportButton}) {
    button->setEnabled(selected > 0);
  }
  ApplyPrivileges();
}

void TUnitMainDlg::ApplyPrivileges() {
  const uint32_t mask = host_->Privileges();
  const std::pair<uint32_t, std::vector<QWidget*>> rules[] = {
      {kMayChooseTextMode, {m_pkSymbolsCheckBox}},
      {kMayChooseUnit, {m_pkUnitButton}},
      {kMayEditQuantities, {m_pkAddButton, m_pkEditButton, m_pkRemoveButton}},
      {kMayEnableQuantities, {m_pkEnableButton, m_pkDisableButton}},
      {kMayImport, {m_pkImportButton}},
      {kMayExport, {m_pkExportButton}},
      {kMayReplace, {m_pkReplaceButton}}};
  for (const auto& rule : rules) {
    if ((mask & rule.first) != 0) continue;
    for (QWidget* control : rule.second) control->setEnabled(false);
  }
}

void TUnitMainDlg::m_pkListViewSelectItem() { UpdateButtons(); }

bool TUnitMainDlg::eventFilter(QObject* watched, QEvent* event) {
  // The right button chooses units. The view selects the row under the
  // pointer first, so the handler runs once that press is through.
  if (watched == m_pkListView->viewport() && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && (host_->Privileges() & kMayChooseUnit) != 0) {
    QTimer::singleShot(0, this, &TUnitMainDlg::m_pkUnitButtonClick);
  }
  return QDialog::eventFilter(watched, event);
}

void TUnitMainDlg::m_pkAddButtonClick() {
  t_quantity record;
  units::InitQuantity(&record);
  TEditQuantityDlg editor(this, &record, context_);
  if (editor.exec() == QDialog::Accepted) {
    record.dwState |= units::kQuantityEnabled;
    AddRow(record);
    UpdateListView();
  }
  BringToFront();
}

void TUnitMainDlg::m_pkEditButtonClick() {
  if ((host_->Privileges() & kMayEditQuantities) == 0) return;
  for (QTreeWidgetItem* row : SelectedRows()) {
    TEditQuantityDlg editor(this, &RecordOf(row), context_);
    editor.exec();
  }
  UpdateListView();
  BringToFront();
}

// The rows are taken before the first goes, so a selection the view moves
// while rows disappear cannot take more rows with it.
void TUnitMainDlg::m_pkRemoveButtonClick() {
  for (QTreeWidgetItem* row : SelectedRows()) delete row;
  m_pkListView->sortItems(kStateColumn, Qt::AscendingOrder);
  UpdateButtons();
}

void TUnitMainDlg::m_pkEnableButtonClick() {
  for (QTreeWidgetItem* row : SelectedRows()) RecordOf(row).dwState |= units::kQuantityEnabled;
  UpdateListView();
}

void TUnitMainDlg::m_pkDisableButtonClick() {
  for (QTreeWidgetItem* row : SelectedRows()) RecordOf(row).dwState &= ~units::kQuantityEnabled;
  UpdateListView();
}

void TUnitMainDlg::m_pkUnitButtonClick() {
  for (QTreeWidgetItem* row : SelectedRows()) {
    TUnitSelectDlg chooser(this, &RecordOf(row), context_);
    chooser.exec();
  }
  BringToFront();
  UpdateListView();
}

// ---- UDF files ----
// Only records that the file holds whole are taken: a file cut short adds
// what it does hold and nothing half-read.

void TUnitMainDlg::m_pkImportButtonClick() {
  const QString path = context_.toolkit->OpenFileName(this, kUdfFiles);
  if (!path.isEmpty()) {
    const units::UdfContents file = units::ReadUdfFile(LocalPath(path));
    for (size_t i = 0; i < file.complete_records; ++i) {
      if (!FindListQuantity(file.records[i]->wId, nullptr)) AddRow(*file.records[i]);
    }
    UpdateListView();
  }
  BringToFront();
}

void TUnitMainDlg::m_pkReplaceButtonClick() {
  const QString path = context_.toolkit->OpenFileName(this, kUdfFiles);
  if (!path.isEmpty()) {
    const units::UdfContents file = units::ReadUdfFile(LocalPath(path));
    m_pkListView->clear();
    for (size_t i = 0; i < file.complete_records; ++i) AddRow(*file.records[i]);
  }
  UpdateListView();
  BringToFront();
}

// The file marks the display settings as not set, so loading it never
// changes a host's settings. A file that cannot be written is reported:
// the user would otherwise believe the quantities saved.
void TUnitMainDlg::m_pkExportButtonClick() {
  const QString path = context_.toolkit->SaveFileName(this, kUdfFiles);
  if (!path.isEmpty()) {
    units::QuantityTable records;
    for (QTreeWidgetItem* row : SelectedRows()) records.push_back(std::make_unique<t_quantity>(RecordOf(row)));
    const std::string bytes = units::EncodeUdf(records, units::kUnitFormatNotSet, units::kTextModeNotSet);
    if (!units::platform::ReplaceFile(LocalPath(path), bytes)) {
      context_.toolkit->ShowMessage(this, Tr("The file could not be written:") + QLatin1Char('\n') + path,
                                    Tr("Quantities / Units"), ToolkitServices::Icon::kWarning,
                                    ToolkitServices::Placement::kForeground);
    }
  }
  BringToFront();
}

// ---- Settings that act at once ----

void TUnitMainDlg::ClickUseText() {
  const uint16_t mode = m_pkSymbolsCheckBox->isChecked() ? units::kTextMode : units::kSymbolMode;
  const units::DialogSettings renewed = host_->SetTextMode(mode);
  context_.settings.text_mode = mode;
  context_.settings.has_fonts = renewed.has_fonts;
  context_.settings.dialog_font = renewed.dialog_font;
  context_.settings.symbol_font = renewed.symbol_font;
  units::dialogs::UseSymbolFont(m_pkListView, context_.settings);
  UpdateListView();
}

void TUnitMainDlg::m_pRadioGroupUnitFormatClick() { host_->SetUnitFormat(unit_formats_->checkedId()); }

// ---- Commit ----

// The catalogue takes the rows in their display order. A failed save leaves
// the library as it was and the dialog open, so the user can try again.
void TUnitMainDlg::CmOk() {
  units::StoredContents next = host_->Contents();
  std::vector<units::SharedQuantity> records;
  records.reserve(static_cast<size_t>(m_pkListView->topLevelItemCount()));
  for (int row = 0; row < m_pkListView->topLevelItemCount(); ++row) {
    records.push_back(std::make_shared<const t_quantity>(RecordOf(m_pkListView->topLevelItem(row))));
  }
  next.catalogue = units::MakeCatalogue(std::move(records));
  int32_t current_group = 0;
  auto groups = std::make_shared<units::GroupTable>();
  groups->Replace(m_pTabFilter->CommittedGroups(&current_group));
  groups->SetCurrentIndex(current_group);
  next.groups = std::move(groups);
  if (!host_->Commit(next)) {
    context_.toolkit->ShowMessage(this, Tr("The changes could not be saved. Nothing has been changed; please try again."),
                                  Tr("Quantities / Units"), ToolkitServices::Icon::kWarning,
                                  ToolkitServices::Placement::kForeground);
    return;
  }
  accept();
}

// ---- Helpers ----

bool TUnitMainDlg::EditGroup(t_FilterEntry* entry) {
  units::dialogs::GroupEditorSource source{host_->CommittedCatalogue(), host_->QuantityChoices()};
  TEditFilterDlg editor(this, entry, std::move(source), context_);
  return editor.exec() == QDialog::Accepted;
}

// The host's window first, then this dialog, so the dialog ends up on top.
void TUnitMainDlg::BringToFront() {
  if (parentWidget() != nullptr) context_.toolkit->BringToFront(parentWidget()->window());
  if (parent_window_ != nullptr) parent_window_->requestActivate();
  context_.toolkit->BringToFront(this);
}
