#include "dialogs/unit_select_dialog.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "dialogs/fonts.h"
#include "dialogs/texts.h"

using units::dialogs::FieldText;
using units::dialogs::Tr;

uint32_t UnitSlotOfPosition(const t_quantity& record, int position) {
  if (position < 0) return 0;
  int count = 0;
  for (uint32_t slot = 0; slot < units::kUnitSlots; ++slot) {
    if ((record.aUnit[slot].wState & units::kUnitDefined) == 0) continue;
    if (count++ == position) return slot;
  }
  return 0;
}

TUnitSelectDlg::TUnitSelectDlg(QWidget* owner, t_quantity* record, const units::dialogs::DialogContext& context)
    : QDialog(owner), record_(record) {
  setObjectName(QStringLiteral("TUnitSelectDlg"));
  units::dialogs::UseDialogFont(this, context.settings);
  // The record's name as it is stored is the key of its translation.
  setWindowTitle(Tr(FieldText(record->szName).toUtf8().constData()));

  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameShape(QFrame::StyledPanel);
  m_ptUnitList = new QListWidget(Bevel1);
  m_ptUnitList->setObjectName(QStringLiteral("m_ptUnitList"));
  m_ptUnitList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_ptUnitList->setAccessibleName(windowTitle());
  auto* frame_layout = new QVBoxLayout(Bevel1);
  frame_layout->addWidget(m_ptUnitList);

  OKBtn = new QPushButton(Tr("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(Tr("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  connect(OKBtn, &QPushButton::clicked, this, &TUnitSelectDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Bevel1);
  layout->addLayout(buttons);
  // A fixed dialog border: the size the contents need, not resizable.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  FillUnitList();
}

void TUnitSelectDlg::FillUnitList() {
  for (uint32_t slot = 0; slot < units::kUnitSlots; ++slot) {
    const t_quantityunit& unit = record_->aUnit[slot];
    if ((unit.wState & units::kUnitDefined) == 0) continue;
    auto* line = new QListWidgetItem(FieldText(unit.szText), m_ptUnitList);
    line->setData(Qt::UserRole, slot);
    if (slot == record_->dwUnit) {
      m_ptUnitList->setCurrentItem(line);
      line->setSelected(true);
    }
  }
  if (m_ptUnitList->selectedItems().isEmpty()) m_ptUnitList->setCurrentRow(-1, QItemSelectionModel::Clear);
}

void TUnitSelectDlg::SetParentWindow(QWindow* window) {
  parent_window_ = window;
  if (window == nullptr) return;
  winId();  // a native window of our own, to hang below the host's
  if (windowHandle() != nullptr) windowHandle()->setTransientParent(window);
  // Centred on the screen, not on the host window.
  if (QScreen* screen = window->screen()) move(screen->availableGeometry().center() - rect().center());
}

void TUnitSelectDlg::OKBtnClick() {
  const QList<QListWidgetItem*> selected = m_ptUnitList->selectedItems();
  const int position = selected.isEmpty() ? -1 : m_ptUnitList->row(selected.first());
  record_->dwUnit = UnitSlotOfPosition(*record_, position);
  accept();
}

void TUnitSelectDlg::done(int result) {
  QDialog::done(result);
  if (parent_window_ != nullptr) parent_window_->requestActivate();
}
