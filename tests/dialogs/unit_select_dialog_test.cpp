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
  EXPECT_TRUE(list->item(1)->isSelected());
  SaveScreenshot(&dialog, "unit_select");
  EXPECT_EQ(TextsThatDoNotFit(&dialog), QStringList());

  list->item(2)->setSelected(true);
  QTest::mouseClick(dialog.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(record.dwUnit, 7u);
}

}  // namespace
}  // namespace testing
}  // namespace dialogs
}  // namespace units
