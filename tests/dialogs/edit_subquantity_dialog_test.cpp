#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/edit_subquantity_dialog.h"

namespace units::dialogs::testing {

// The radio buttons, then the check boxes.
constexpr struct { const char* name; uint32_t bit; } kFlagControls[] = {
    {"m_pkRadioSet", kFlagSet}, {"m_pkRadioData", kFlagData}, {"m_pkRadioError", kFlagError},
    {"m_pkCheckBoxCalculated", kFlagCalculated}, {"m_pkCheckBoxCorrected", kFlagCorrected},
    {"m_pkCheckBoxFunction", kFlagFunction}, {"m_pkCheckBoxMean", kFlagMean}, {"m_pkCheckBoxSmooth", kFlagSmooth},
    {"m_pkCheckBoxOffset", kFlagOffset}, {"m_pkCheckBoxEqui", kFlagEqui}};

// Pairs (i + 1, i + 100) in every element; `count` may be damaged.
t_subquantity SlotWithPairs(uint16_t count) {
  t_subquantity slot{};
  for (int i = 0; i < kMaxPairs; ++i) slot.awDevice[i] = static_cast<uint16_t>(i + 1), slot.awIndex[i] = i + 100;
  slot.wCount = count;
  return slot;
}

class EditSubQuantityDialogTest : public ::testing::Test {
 protected:
  void Open(t_subquantity* slot) {
    dialog_ = std::make_unique<TEditSubQuantityDlg>(nullptr, slot, "Edit subquantity", context_);
    ShowForTest(dialog_.get());
    list_ = Find<QTreeWidget>("m_pkListView");
  }
  template <typename T = QAbstractButton> T* Find(const char* name) { return dialog_->findChild<T*>(name); }
  void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
  void ClickRow(int row, int column, Qt::KeyboardModifiers keys = {}) {
    list_->scrollTo(list_->model()->index(row, column));  // as the user scrolls to it
    const QPoint cell = list_->visualRect(list_->model()->index(row, column)).center();
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, keys, cell);
  }
  ScriptedToolkit toolkit_;
  DialogContext context_ = TestContext(&toolkit_);
  std::unique_ptr<TEditSubQuantityDlg> dialog_;
  QTreeWidget* list_ = nullptr;
};

TEST_F(EditSubQuantityDialogTest, FlagsOpenAsRadioAndCheckStatesAndOkRebuildsThem) {
  struct Case { uint32_t stored, shown; };  // shown: the bits of the checked controls, which OK stores
  std::vector<Case> cases = {{0, 0}, {kFlagSet | kFlagData, kFlagSet}, {kFlagData | kFlagError, kFlagData},
                             {kFlagError | 0x100, kFlagError}, {0xFFFFFFFF, kFlagSet | 0xF0E00}};  // others are lost
  for (int box = 3; box < 10; ++box) cases.push_back({kFlagControls[box].bit, kFlagControls[box].bit});
  for (const Case& c : cases) {
    t_subquantity slot{};
    slot.dwFlags = c.stored;
    Open(&slot);
    for (auto [name, bit] : kFlagControls) EXPECT_EQ(Find(name)->isChecked(), (c.shown & bit) != 0) << name;
    EXPECT_FALSE(Find("m_pkButtonRemove")->isEnabled());  // no pairs
    Click("m_pkButtonOK");
    EXPECT_EQ(+slot.dwFlags, c.shown) << c.stored;
  }
}

// A damaged count of 60 shows 50 pairs; Cancel leaves every byte, whatever was changed.
TEST_F(EditSubQuantityDialogTest, PairListStopsAtFiftyAndOnlyOkWritesTheSlot) {
  for (bool ok : {false, true}) {
    t_subquantity slot = SlotWithPairs(60);
    const t_subquantity before = slot;
    Open(&slot);
    EXPECT_EQ(list_->topLevelItemCount(), 50);
    EXPECT_FALSE(Find("m_pkButtonAdd")->isEnabled());
    ClickRow(0, 0);
    ClickRow(2, 1, Qt::ControlModifier);
    Click("m_pkButtonRemove");
    TypeInto(Find<QLineEdit>("m_pkEditDevice"), "70000");
    TypeInto(Find<QLineEdit>("m_pkEditIndex"), "7");
    for (int adds = 0; adds < 3; ++adds) Click("m_pkButtonAdd");  // the same pair twice; the third add is refused
    EXPECT_FALSE(Find("m_pkButtonAdd")->isEnabled());
    EXPECT_EQ(list_->topLevelItem(49)->text(0), "70000");
    for (const char* name : {"m_pkRadioSet", "m_pkCheckBoxMean"}) Click(name);
    ClickRow(1, 1);  // F2 on the index opens the device text in place: the index is not edited
    QTest::keyClick(list_, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(dialog_->focusWidget());
    ASSERT_TRUE(editor != nullptr && list_->isAncestorOf(editor));
    TypeInto(editor, "70001");  // the editor opens with its text selected
    Click(ok ? "m_pkButtonOK" : "m_pkButtonCancel");  // without Enter: leaving the editor keeps the text
    EXPECT_EQ(std::memcmp(&slot, &before, sizeof slot) == 0, !ok);
    if (!ok) continue;
    ASSERT_EQ(+slot.wCount, 50);
    const int rows[][3] = {{0, 2, 101}, {1, 4465, 103}, {47, 50, 149}, {48, 4464, 7}, {49, 4464, 7}};
    for (auto [i, device, index] : rows) EXPECT_TRUE(slot.awDevice[i] == device && slot.awIndex[i] == index) << i;
  }
}

TEST_F(EditSubQuantityDialogTest, TextsAreLimitedByBytesAndWrittenByOkAndFit) {
  t_subquantity slot = SlotWithPairs(3);
  slot.lSubQuan = 5;
  CopyText(slot.szSymbol, kSymbolWidth, "\xB5m");  // Windows-1252 from an old file
  Open(&slot);
  EXPECT_EQ(Find<QLineEdit>("m_pkEditValue")->text() + Find<QLineEdit>("m_pkEditSymbol")->text(), "5µm");
  TypeInto(Find<QLineEdit>("m_pkEditValue"), "\b -12 kg");  // Backspace over the 5
  TypeInto(Find<QLineEdit>("m_pkEditName"), QString(25, u'ä'));
  TypeInto(Find<QLineEdit>("m_pkEditSymbolText"), QString(7, u'€'));
  TypeInto(Find<QLineEdit>("m_pkEditSymbolText"), "ab");
  EXPECT_EQ(Find<QLineEdit>("m_pkEditName")->text(), QString(20, u'ä'));
  SaveScreenshot(dialog_.get(), "edit_subquantity");
  EXPECT_EQ(TextsThatDoNotFit(dialog_.get()), QStringList());
  Click("m_pkButtonOK");
  EXPECT_EQ(+slot.lSubQuan, -12);
  EXPECT_EQ(QByteArray(slot.szName), QString(20, u'ä').toUtf8());
  EXPECT_EQ(QByteArray(slot.szText), (QString(6, u'€') + "ab").toUtf8());
  EXPECT_STREQ(slot.szSymbol, "\xB5m");  // unedited: its bytes stay
}

}  // namespace units::dialogs::testing
