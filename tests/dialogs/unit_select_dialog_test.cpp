#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/texts.h"
#include "dialogs/unit_select_dialog.h"

namespace units {
namespace dialogs {
namespace testing {
namespace {

// Units defined in slots 0, 3 and 7.
t_quantity ThreeUnits(uint32_t current) {
  t_quantity record;
  InitQuantity(&record);
  CopyText(record.szName, sizeof(record.szName), "Temperature");
  CopyText(record.aUnit[0].szText, kSymbolWidth, "K");
  for (int slot : {3, 7}) {
    record.aUnit[slot].wState = kUnitDefined;
    CopyText(record.aUnit[slot].szText, kSymbolWidth, slot == 3 ? "°C" : "°F");
  }
  record.dwUnit = current;
  return record;
}

class UnitSelectDialogTest : public ::testing::Test {
 protected:
  ScriptedToolkit toolkit_;
  DialogContext context_ = TestContext(&toolkit_);
};

TEST_F(UnitSelectDialogTest, ShowsDefinedUnitsAndWritesTheChosenSlot) {
  t_quantity record = ThreeUnits(3);
  TUnitSelectDlg dialog(nullptr, &record, context_);
  ShowForTest(&dialog);
  auto* list = dialog.findChild<QListWidget*>("m_ptUnitList");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(dialog.windowTitle(), Tr("Temperature"));
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("°C"));
  SaveScreenshot(&dialog, "unit_select");
  EXPECT_EQ(TextsThatDoNotFit(&dialog), QStringList());

  list->item(2)->setSelected(true);
  QTest::mouseClick(dialog.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(uint32_t{record.dwUnit}, 7u);  // a copy: the field is packed
}

// Rows: stored slot, line shown on opening (-1: none), line chosen (-1: none), how it closes, slot after.
TEST_F(UnitSelectDialogTest, OnlyOkWritesAndItWritesTheSelectedSlot) {
  const struct { uint32_t stored; int shown, chosen; QString close; uint32_t expected; } cases[] = {
      {3, 1, -1, "OKBtn", 0},      {5, -1, -1, "OKBtn", 0}, {42, -1, -1, "OKBtn", 0},
      {3, 1, 2, "CancelBtn", 3},   {7, 2, 0, "Escape", 7},  {3, 1, 2, "Return", 7}};
  for (const auto& c : cases) {
    t_quantity record = ThreeUnits(c.stored);
    TUnitSelectDlg dialog(nullptr, &record, context_);
    ShowForTest(&dialog);
    auto* list = dialog.findChild<QListWidget*>("m_ptUnitList");
    const QList<QListWidgetItem*> shown = list->selectedItems();
    EXPECT_EQ(shown.isEmpty() ? -1 : list->row(shown.first()), c.shown) << c.stored;
    list->clearSelection();
    if (c.chosen >= 0) list->item(c.chosen)->setSelected(true);
    auto* button = dialog.findChild<QPushButton*>(c.close);
    if (button != nullptr) QTest::mouseClick(button, Qt::LeftButton);
    if (button == nullptr) QTest::keyClick(list, c.close == u"Escape" ? Qt::Key_Escape : Qt::Key_Return);
    EXPECT_EQ(dialog.result() == QDialog::Accepted, c.close == u"OKBtn" || c.close == u"Return");
    EXPECT_EQ(uint32_t{record.dwUnit}, c.expected) << c.close.toStdString() << " from " << c.stored;
  }
}

}  // namespace
}  // namespace testing
}  // namespace dialogs
}  // namespace units
