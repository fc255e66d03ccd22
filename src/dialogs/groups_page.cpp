#include "dialogs/groups_page.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <utility>

#include "dialogs/fonts.h"
#include "dialogs/image_list.h"
#include "dialogs/texts.h"
#include "model/fdf_format.h"
#include "platform/files.h"
#include "storage/store_files.h"

namespace units {
namespace dialogs {
namespace {

// Privilege bits of the groups page.
constexpr uint32_t kMaySelect = 0x10000;
constexpr uint32_t kMayChangeGroups = 0x20000;  // Add, Edit, Remove, Copy
constexpr uint32_t kMayImport = 0x100000;
constexpr uint32_t kMayExport = 0x200000;
constexpr uint32_t kMayReplace = 0x400000;

constexpr int kNameColumn = 1;
constexpr int kMarkRole = Qt::UserRole;  // on column 0: the row is the current group
constexpr int kMarkColumnWidth = kImageSize + 12;
constexpr int kNameColumnWidth = 260;

FileType FdfFileType() { return {QStringLiteral("Unit Filter Files (*.FDF)|*.FDF"), QStringLiteral(".FDF")}; }

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool IsMarked(const QTreeWidgetItem* row) { return row->data(0, kMarkRole).toBool(); }

// The name of row 0 as the library writes it for hosts, so both agree byte
// for byte: the first name of an empty group list.
QString AllQuantitiesName() {
  char names[16];
  WriteGroupNames(GroupTable(), names, sizeof(names));
  return QString::fromLatin1(names);
}

}  // namespace

// A group row owns its working copy of the group.
class GroupsPage::GroupRow : public QTreeWidgetItem {
 public:
  static constexpr int kType = QTreeWidgetItem::UserType + 1;

  explicit GroupRow(const t_FilterEntry& source) : QTreeWidgetItem(kType), entry(source) {
    // Groups from files or the store may be damaged: every later use of the
    // copy stays inside its fields.
    entry.lCount = ConditionsInUse(source);
    entry.szName[sizeof(entry.szName) - 1] = '\0';
    ShowName();
  }

  void ShowName() { setText(kNameColumn, FieldText(entry.szName)); }

  t_FilterEntry entry;
};

GroupsPage::GroupsPage(QWidget* parent, MainDialogHost* host, const DialogContext& context, Hooks hooks)
    : QWidget(parent), host_(host), context_(context), hooks_(std::move(hooks)), privileges_(host->Privileges()) {
  setObjectName(QStringLiteral("m_pTabFilter"));
  setWindowTitle(Tr("Quantity groups"));

  SetUpList();

  m_pButtonSelectFilterEntry =
      NewButton("Default", "m_pButtonSelectFilterEntry", &GroupsPage::m_pButtonSelectFilterEntryClick);
  m_pButtonAddFilterEntry = NewButton("Add ...", "m_pButtonAddFilterEntry", &GroupsPage::m_pButtonAddFilterEntryClick);
  m_pButtonEditFilterEntry =
      NewButton("Edit ...", "m_pButtonEditFilterEntry", &GroupsPage::m_pButtonEditFilterEntryClick);
  m_pButtonRemoveFilterEntry =
      NewButton("Remove", "m_pButtonRemoveFilterEntry", &GroupsPage::m_pButtonRemoveFilterEntryClick);
  m_pButtonCopyFilterEntry =
      NewButton("Copy ...", "m_pButtonCopyFilterEntry", &GroupsPage::m_pButtonCopyFilterEntryClick);
  m_pImportFilter = NewButton("Import ...", "m_pImportFilter", &GroupsPage::m_pImportFilterClick);
  m_pExportFilter = NewButton("Export ...", "m_pExportFilter", &GroupsPage::m_pExportFilterClick);
  m_pReplaceFilter = NewButton("Replace ...", "m_pReplaceFilter", &GroupsPage::m_pReplaceFilterClick);

  LayOut();
  FillList();
}

GroupsPage::~GroupsPage() = default;

void GroupsPage::SetUpList() {
  m_pListViewFilter = new QTreeWidget(this);
  m_pListViewFilter->setObjectName(QStringLiteral("m_pListViewFilter"));
  m_pListViewFilter->setAccessibleName(windowTitle());
  m_pListViewFilter->setColumnCount(3);
  m_pListViewFilter->setHeaderLabels({QString(), Tr("Name"), QString()});
  m_pListViewFilter->setRootIsDecorated(false);
  m_pListViewFilter->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pListViewFilter->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pListViewFilter->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pListViewFilter->setAllColumnsShowFocus(true);
  m_pListViewFilter->setIconSize(QSize(kImageSize, kImageSize));
  UseSymbolFont(m_pListViewFilter, context_.settings);
  m_pListViewFilter->header()->setSectionResizeMode(0, QHeaderView::Fixed);
  m_pListViewFilter->setColumnWidth(0, kMarkColumnWidth);
  m_pListViewFilter->setColumnWidth(kNameColumn, kNameColumnWidth);
  m_pListViewFilter->setColumnWidth(2, 0);  // the empty last column only fills what is left
  // Room for the mark, ordinary names, the empty last column and a vertical scroll bar.
  const int columns = kMarkColumnWidth + kNameColumnWidth + m_pListViewFilter->header()->minimumSectionSize();
  const int frame = 2 * m_pListViewFilter->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  m_pListViewFilter->setMinimumWidth(columns + frame);
  m_pListViewFilter->installEventFilter(this);
  connect(m_pListViewFilter, &QTreeWidget::itemSelectionChanged, this, &GroupsPage::m_pListViewFilterSelectItem);
  connect(m_pListViewFilter, &QTreeWidget::itemDoubleClicked, this, &GroupsPage::m_pListViewFilterDblClick);
}

QPushButton* GroupsPage::NewButton(const char* caption, const char* name, void (GroupsPage::*click)()) {
  auto* button = new QPushButton(Tr(caption), this);
  button->setObjectName(QString::fromLatin1(name));
  connect(button, &QPushButton::clicked, this, click);
  return button;
}

// The list, and beside it the group commands above the file commands.
void GroupsPage::LayOut() {
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {m_pButtonSelectFilterEntry, m_pButtonAddFilterEntry, m_pButtonEditFilterEntry,
                              m_pButtonRemoveFilterEntry, m_pButtonCopyFilterEntry}) {
    buttons->addWidget(button);
  }
  buttons->addSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing) * 3);
  for (QPushButton* button : {m_pImportFilter, m_pExportFilter, m_pReplaceFilter}) buttons->addWidget(button);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(m_pListViewFilter, 1);
  layout->addLayout(buttons);
}

void GroupsPage::FillList() {
  m_pListViewFilter->clear();
  m_pListViewFilter->addTopLevelItem(new QTreeWidgetItem(QStringList{QString(), AllQuantitiesName()}));
  const std::shared_ptr<const GroupTable> groups = host_->Contents().groups;
  const int32_t current = groups != nullptr ? groups->CurrentIndex() : 0;
  if (groups != nullptr) {
    for (const t_FilterEntry& entry : groups->Entries()) AddGroupRow(entry);
  }
  QTreeWidgetItem* current_row = m_pListViewFilter->topLevelItem(current);
  MarkRow(current_row);
  if (current_row != nullptr) m_pListViewFilter->setCurrentItem(current_row);
  m_pListViewFilterSelectItem();
}

void GroupsPage::AddGroupRow(const t_FilterEntry& entry) { m_pListViewFilter->addTopLevelItem(new GroupRow(entry)); }

GroupsPage::GroupRow* GroupsPage::GroupAt(int row) const {
  QTreeWidgetItem* item = m_pListViewFilter->topLevelItem(row);
  return item != nullptr && item->type() == GroupRow::kType ? static_cast<GroupRow*>(item) : nullptr;
}

std::vector<GroupsPage::GroupRow*> GroupsPage::SelectedGroupRows() const {
  std::vector<GroupRow*> rows;
  for (int row = 1; row < m_pListViewFilter->topLevelItemCount(); ++row) {
    GroupRow* group = GroupAt(row);
    if (group != nullptr && group->isSelected()) rows.push_back(group);
  }
  return rows;
}

// The row names as shown, row 0 included; case by the locale's rules.
bool GroupsPage::IsShownName(const QString& name) const {
  const int rows = m_pListViewFilter->topLevelItemCount();
  if (rows <= 1) return false;
  for (int row = 0; row < rows; ++row) {
    if (QString::compare(m_pListViewFilter->topLevelItem(row)->text(kNameColumn), name, Qt::CaseInsensitive) == 0) {
      return true;
    }
  }
  return false;
}

// `marked` gets the mark and every other row loses it; null clears it.
void GroupsPage::MarkRow(const QTreeWidgetItem* marked) {
  for (int row = 0; row < m_pListViewFilter->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = m_pListViewFilter->topLevelItem(row);
    item->setData(0, kMarkRole, item == marked);
    item->setIcon(0, item == marked ? ListImage(kImageTick) : QIcon());
  }
}

bool GroupsPage::EditGroup(t_FilterEntry* entry) { return hooks_.edit_group && hooks_.edit_group(entry); }

void GroupsPage::BringToFront() {
  if (hooks_.bring_to_front) hooks_.bring_to_front();
}

std::vector<t_FilterEntry> GroupsPage::CommittedGroups(int32_t* current_index) const {
  std::vector<t_FilterEntry> groups;
  int marked = -1;
  for (int row = 0; row < m_pListViewFilter->topLevelItemCount(); ++row) {
    if (marked < 0 && IsMarked(m_pListViewFilter->topLevelItem(row))) marked = row;
    if (GroupRow* group = GroupAt(row)) groups.push_back(group->entry);
  }
  if (current_index != nullptr) *current_index = std::max(marked, 0);
  return groups;
}

void GroupsPage::m_pListViewFilterSelectItem() {
  const QTreeWidgetItem* all_row = m_pListViewFilter->topLevelItem(0);
  const int selected = static_cast<int>(m_pListViewFilter->selectedItems().size());
  const bool groups_only = selected > 0 && (all_row == nullptr || !all_row->isSelected());
  const bool one_group = groups_only && selected == 1;
  const bool may_change = Allowed(kMayChangeGroups);
  m_pButtonSelectFilterEntry->setEnabled(Allowed(kMaySelect));
  m_pButtonAddFilterEntry->setEnabled(may_change);
  m_pButtonEditFilterEntry->setEnabled(one_group && may_change);
  m_pButtonRemoveFilterEntry->setEnabled(groups_only && may_change);
  m_pButtonCopyFilterEntry->setEnabled(one_group && may_change);
  m_pImportFilter->setEnabled(Allowed(kMayImport));
  m_pExportFilter->setEnabled(groups_only && Allowed(kMayExport));
  m_pReplaceFilter->setEnabled(Allowed(kMayReplace));
}

// Acts on the library at once. A group added since the page opened lies past
// the library's table, which refuses it; the mark moves all the same and the
// commit makes it the current group.
void GroupsPage::m_pButtonSelectFilterEntryClick() {
  for (int row = 0; row < m_pListViewFilter->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = m_pListViewFilter->topLevelItem(row);
    if (!item->isSelected()) continue;
    host_->SetGroupIndex(row);
    MarkRow(item);
    return;
  }
}

void GroupsPage::m_pButtonAddFilterEntryClick() {
  t_FilterEntry entry;
  InitFilterEntry(&entry);
  if (EditGroup(&entry)) AddGroupRow(entry);
  BringToFront();
}

void GroupsPage::m_pButtonEditFilterEntryClick() {
  for (GroupRow* row : SelectedGroupRows()) {
    if (EditGroup(&row->entry)) row->ShowName();
  }
  BringToFront();
}

void GroupsPage::m_pButtonRemoveFilterEntryClick() {
  for (int row = m_pListViewFilter->topLevelItemCount() - 1; row >= 1; --row) {
    if (m_pListViewFilter->topLevelItem(row)->isSelected()) delete m_pListViewFilter->takeTopLevelItem(row);
  }
}

void GroupsPage::m_pButtonCopyFilterEntryClick() {
  for (GroupRow* source : SelectedGroupRows()) {
    t_FilterEntry copy = source->entry;
    // Cut at a character boundary where the name would not fit the field.
    StoreFieldText(copy.szName, QStringLiteral("Copy of ") + FieldText(source->entry.szName));
    if (EditGroup(&copy)) AddGroupRow(copy);
    BringToFront();
  }
}

void GroupsPage::m_pImportFilterClick() {
  const QString path = context_.toolkit->OpenFileName(this, FdfFileType());
  if (!path.isEmpty()) {
    // The file's current-group index means nothing for groups added here. A
    // file cut short gives the groups it holds whole, none half-read.
    const FdfContents file = ReadFdfFile(LocalPath(path));
    for (size_t i = 0; i < file.complete_entries; ++i) {
      if (!IsShownName(FieldText(file.entries[i].szName))) AddGroupRow(file.entries[i]);
    }
  }
  BringToFront();
}

void GroupsPage::m_pExportFilterClick() {
  const QString path = context_.toolkit->SaveFileName(this, FdfFileType());
  if (!path.isEmpty()) ExportSelectedGroups(path);
  BringToFront();
}

// Writes the selected groups; the stored index is the position, among them,
// of the one with the mark (0 when the mark is elsewhere). No group, no file.
void GroupsPage::ExportSelectedGroups(const QString& path) {
  std::vector<t_FilterEntry> groups;
  int32_t marked = 0;
  for (const GroupRow* row : SelectedGroupRows()) {
    groups.push_back(row->entry);
    if (marked == 0 && IsMarked(row)) marked = static_cast<int32_t>(groups.size());
  }
  if (groups.empty() || platform::ReplaceFile(LocalPath(path), EncodeFdf(groups, marked))) return;
  context_.toolkit->ShowMessage(this, Tr("The file could not be written:") + u'\n' + path, Tr("Quantity groups"),
                                ToolkitServices::Icon::kWarning, ToolkitServices::Placement::kForeground);
}

// Replaces the library's groups at once; edits made on the page are lost. A
// file that cannot be opened changes nothing: it must not empty the table.
void GroupsPage::m_pReplaceFilterClick() {
  const QString path = context_.toolkit->OpenFileName(this, FdfFileType());
  const QFileInfo file(path);
  if (!path.isEmpty() && file.isFile() && file.isReadable()) {
    FdfContents contents = ReadFdfFile(LocalPath(path));
    contents.entries.resize(contents.complete_entries);
    const int32_t count = static_cast<int32_t>(contents.entries.size());
    const int32_t stored = contents.stored_index;
    host_->ReplaceGroups(std::move(contents.entries), stored >= 1 && stored <= count ? stored : 0);
    FillList();
  }
  BringToFront();
}

void GroupsPage::m_pListViewFilterDblClick() {
  if (Allowed(kMayChangeGroups)) m_pButtonEditFilterEntryClick();
}

// The keys work whatever the privileges say.
void GroupsPage::m_pListViewFilterKeyUp(int key) {
  if (key == Qt::Key_Space) m_pButtonSelectFilterEntryClick();
  if (key == Qt::Key_Delete) m_pButtonRemoveFilterEntryClick();
}

bool GroupsPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pListViewFilter && event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) m_pListViewFilterKeyUp(key->key());
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace dialogs
}  // namespace units
