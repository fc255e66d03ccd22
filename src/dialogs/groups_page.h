// The "Quantity groups" page of the main dialog: every group row owns a
// working copy of its group; row 0 stands for "All quantities". Select and
// Replace act on the library at once, everything else reaches it only when
// the main dialog commits (CommittedGroups).
#ifndef UNITS_DIALOGS_GROUPS_PAGE_H_
#define UNITS_DIALOGS_GROUPS_PAGE_H_

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "dialogs/dialog_context.h"
#include "model/group_model.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace units {
namespace dialogs {

class GroupsPage : public QWidget {
  Q_OBJECT

 public:
  struct Hooks {
    // Opens the group editor on `entry` modally; true when it returned OK.
    std::function<bool(t_FilterEntry* entry)> edit_group;
    // Brings the host window and then the main dialog to the front.
    std::function<void()> bring_to_front;
  };

  // REQUIRES: `host` outlives the page. Fills the rows from the host's
  // group table.
  GroupsPage(QWidget* parent, MainDialogHost* host, const DialogContext& context, Hooks hooks);
  ~GroupsPage() override;

  // The groups of rows 1 and up, in row order, and as current index the
  // position of the first row with the active mark (0 when none has it).
  std::vector<t_FilterEntry> CommittedGroups(int32_t* current_index) const;

 private slots:
  void m_pListViewFilterSelectItem();
  void m_pButtonSelectFilterEntryClick();
  void m_pButtonAddFilterEntryClick();
  void m_pButtonEditFilterEntryClick();
  void m_pButtonRemoveFilterEntryClick();
  void m_pButtonCopyFilterEntryClick();
  void m_pImportFilterClick();
  void m_pExportFilterClick();
  void m_pReplaceFilterClick();
  void m_pListViewFilterDblClick();
  void m_pListViewFilterKeyUp(int key);

 private:
  class GroupRow;

  bool eventFilter(QObject* watched, QEvent* event) override;
  void SetUpList();
  QPushButton* NewButton(const char* caption, const char* name, void (GroupsPage::*click)());
  GroupRow* GroupAt(int row) const;
  void LayOut();
  void FillList();
  void AddGroupRow(const t_FilterEntry& entry);
  std::vector<GroupRow*> SelectedGroupRows() const;
  bool IsShownName(const QString& name) const;
  void MarkRow(const QTreeWidgetItem* marked);
  void ExportSelectedGroups(const QString& path);
  bool Allowed(uint32_t privilege) const { return (privileges_ & privilege) != 0; }
  bool EditGroup(t_FilterEntry* entry);
  void BringToFront();

  MainDialogHost* host_;
  DialogContext context_;
  Hooks hooks_;
  uint32_t privileges_;
  QTreeWidget* m_pListViewFilter;
  QPushButton* m_pButtonSelectFilterEntry;
  QPushButton* m_pButtonAddFilterEntry;
  QPushButton* m_pButtonEditFilterEntry;
  QPushButton* m_pButtonRemoveFilterEntry;
  QPushButton* m_pButtonCopyFilterEntry;
  QPushButton* m_pImportFilter;
  QPushButton* m_pExportFilter;
  QPushButton* m_pReplaceFilter;
};

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_GROUPS_PAGE_H_
