// TUnitMainDlg: the window in which the user maintains the catalogue and the
// quantity groups. Every row owns a working copy; only "Close" commits them,
// through the library, in one step. The text mode, the unit format and the
// groups page's Select and Replace act on the library at once.
#ifndef UNITS_DIALOGS_MAIN_DIALOG_H_
#define UNITS_DIALOGS_MAIN_DIALOG_H_

#include <QDialog>
#include <QPointer>

#include <cstdint>
#include <vector>

#include "dialogs/dialog_context.h"
#include "dialogs/quantity_list.h"
#include "model/quantity.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWindow;

namespace units {
namespace dialogs {
class GroupsPage;
}  // namespace dialogs
}  // namespace units

class TUnitMainDlg : public QDialog, public units::dialogs::QuantityList {
  Q_OBJECT
  Q_INTERFACES(units::dialogs::QuantityList)

 public:
  // REQUIRES: `host` outlives the dialog. `parent` is the host's widget or
  // null. Result Accepted: the user committed and the commit was saved.
  TUnitMainDlg(QWidget* parent, units::MainDialogHost* host, const units::dialogs::DialogContext& context);
  ~TUnitMainDlg() override;

  // The host's native window when the host has no widget; brought to the
  // front after file dialogs and sub-dialogs. May be null.
  void SetParentWindow(QWindow* window);

  bool FindListQuantity(uint16_t id, QString* row_text) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void CmOk();
  void ClickUseText();
  void m_pkAddButtonClick();
  void m_pkEditButtonClick();
  void m_pkRemoveButtonClick();
  void m_pkEnableButtonClick();
  void m_pkDisableButtonClick();
  void m_pkImportButtonClick();
  void m_pkExportButtonClick();
  void m_pkReplaceButtonClick();
  void m_pkUnitButtonClick();
  void m_pkListViewSelectItem();
  void m_pRadioGroupUnitFormatClick();

 private:
  QWidget* BuildUnitsPage();
  QWidget* BuildFormatPage();
  void SetCaptions();
  void FormCreate();
  void AddRow(const t_quantity& record);
  std::vector<QTreeWidgetItem*> SelectedRows() const;
  void UpdateListView();
  void UpdateButtons();
  void ApplyPrivileges();
  bool EditGroup(t_FilterEntry* entry);
  void BringToFront();

  units::MainDialogHost* host_;
  units::dialogs::DialogContext context_;
  QPointer<QWindow> parent_window_;
  QTabWidget* m_pPageControl;
  QWidget* m_pTabUnits;
  units::dialogs::GroupsPage* m_pTabFilter;
  QWidget* m_pTabFormat;
  QTreeWidget* m_pkListView;
  QPushButton* m_pkUnitButton;
  QGroupBox* m_pkGroupQuantity;
  QPushButton* m_pkAddButton;
  QPushButton* m_pkEditButton;
  QPushButton* m_pkRemoveButton;
  QPushButton* m_pkEnableButton;
  QPushButton* m_pkDisableButton;
  QPushButton* m_pkImportButton;
  QPushButton* m_pkExportButton;
  QPushButton* m_pkReplaceButton;
  QGroupBox* m_pRadioGroupUnitFormat;
  QButtonGroup* unit_formats_;
  QCheckBox* m_pkSymbolsCheckBox;
  QPushButton* m_pkCloseButton;
};

#endif  // UNITS_DIALOGS_MAIN_DIALOG_H_
