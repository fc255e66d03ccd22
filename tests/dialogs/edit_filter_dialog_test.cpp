#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <cstring>

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/edit_filter_dialog.h"
#include "dialogs/texts.h"

namespace units::dialogs::testing {
namespace {

using Cond = t_FilterCondition;  // {wQuantity, lSubQuan, dwFlagValue, wDevice, wIndex, wTests, dwFlagMask}
const Cond kDevice3{0, -1, 0, 3, 0, kTestDevice, 0};
const char* const kFlags[] = {"Set", "Data", "Error", "Calculated", "Corrected", "Function", "Mean", "Smooth",
                              "Offset", "Equi"};
const uint32_t kFlagBits[] = {0x1, 0x4, 0x2, 0x200, 0x800, 0x400, 0x10000, 0x20000, 0x40000, 0x80000};

// Quantity 5 "p", its slot 1 (Data, Mean) "p_m" offered with device 2 and index 1; 7 is not in the catalogue.
GroupEditorSource Source() {
  auto record = std::make_shared<t_quantity>();
  InitQuantity(record.get());
  record->wId = 5, CopyText(record->szSymbol, kSymbolWidth, "p");
  record->aSubQuantity[0] = t_subquantity{1, "", "p_m", "", kSlotDefined, kFlagData | kFlagMean, 0, {}, {}};
  return {MakeCatalogue(std::vector<SharedQuantity>{record}), {{{5, 1, 0x10004, 2, 1}, "p_m"}, {{7, 0, 0, 0, 0}, "T"}}};
}

class EditFilterDialogTest : public ::testing::Test {
 protected:
  void Open(const std::vector<Cond>& conditions = {}) {
    entry_.lCount = static_cast<int32_t>(conditions.size());
    std::copy(conditions.begin(), conditions.end(), entry_.aCondition);
    dialog_ = std::make_unique<TEditFilterDlg>(nullptr, &entry_, Source(), context_);
    ShowForTest(dialog_.get());
  }
  template <typename T> T* Get(const QString& name) { return dialog_->findChild<T*>(name); }
  QCheckBox* Box(const QString& name) { return Get<QCheckBox>("m_pCheckBox" + name); }
  QLineEdit* Edit(const QString& field) { return Get<QLineEdit>("m_pEdit" + field); }
  void Click(const QString& name) { QTest::mouseClick(Get<QPushButton>("m_pButton" + name), Qt::LeftButton); }
  void AddFields(QString f, QString t) { Click("Clear"), Box(f)->click(), Edit(f)->setText(t), Click("Add"); }
  QTableWidget* List() { return Get<QTableWidget>("m_pListView"); }
  QString Cell(int row, int column) { return List()->item(row, column)->text(); }
  bool Written(int i, const Cond& c) { return std::memcmp(&entry_.aCondition[i], &c, sizeof c) == 0; }
  QString FlagStates(const QString& suffix) {  // 1 or 0 per flag: On boxes (suffix "") or Off boxes ("Off")
    QString states;
    for (const char* flag : kFlags) states += Box(flag + suffix)->isChecked() ? u'1' : u'0';
    return states;
  }

  ScriptedToolkit toolkit_;
  DialogContext context_ = TestContext(&toolkit_);
  t_FilterEntry entry_ = [] { t_FilterEntry e; InitFilterEntry(&e); return CopyText(e.szName, 300, "G"), e; }();
  std::unique_ptr<TEditFilterDlg> dialog_;
};

TEST_F(EditFilterDialogTest, CheckedBoxesAndFieldsMakeConditionsShownAsTypedAndDescribed) {
  Open();
  Click("Add");  // no test box checked: no row
  for (const char* flag : kFlags) {  // Rows: box clicked, then On and Off; unchecking never checks the partner.
    QCheckBox *on = Box(flag), *off = Box(QString(flag) + "Off");
    const struct { QCheckBox* box; bool on, off; } steps[] = {{on, 1, 0}, {off, 0, 1}, {off, 0, 0}, {on, 1, 0}};
    for (const auto& s : steps) EXPECT_TRUE((s.box->click(), on->isChecked() == s.on && off->isChecked() == s.off));
    Box("Flags")->setChecked(true), Click("Add"), on->setChecked(false);  // a row for each flag's bit
  }
  Click("Clear"), Box("Set")->click(), Box("Flags")->click(), Box("ErrorOff")->click(), Click("Add");
  // Rows: field, text; the one column showing something, what, and the condition made.
  const auto quantity = [](uint16_t id) { return Cond{id, -1, 0, 0, 0, kTestQuantity, 0}; };
  const struct { const char* field; QString text; int column; QString shown; Cond made; } cases[] = {
      {"Flags", "", 2, "1", {0, -1, 1, 0, 0, kTestFlags, 3}}, {"Quantity", "65536", 0, "0", quantity(0)},
      {"Quantity", "12abc", 0, "12", quantity(12)}, {"Quantity", "-1", 0, "65535", quantity(65535)},
      {"Quantity", "", 0, "0", quantity(0)}, {"Index", " 70000", 3, " 70000", {0, -1, 0, 0, 4464, kTestIndex, 0}},
      {"SubQuantity", "+4294967298x", 1, "+4294967298x", {0, 2, 0, 0, 0, 2, 0}}, {"Device", "3", 4, "3", kDevice3}};
  for (const auto& c : cases) if (c.column != 2) AddFields(c.field, c.text);  // the flags row is made above
  List()->selectRow(10);
  EXPECT_EQ(Get<QLabel>("m_pLabelEntryInfo")->text(),
            Tr("On") + ": " + Tr("Set") + "\n" + Tr("Off") + ": " + Tr("Error") + "\n");
  SaveScreenshot(dialog_.get(), "edit_filter");
  EXPECT_EQ(TextsThatDoNotFit(dialog_.get()), QStringList());
  Click("Ok");
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(Written(i, {0, -1, kFlagBits[i], 0, 0, kTestFlags, kFlagBits[i]})) << i;
  for (int row = 10; row < 18; ++row) {
    const auto& c = cases[row - 10];
    for (int column = 0; column < 5; ++column) EXPECT_EQ(Cell(row, column), column == c.column ? c.shown : "") << row;
    EXPECT_TRUE(Written(row, c.made)) << row;
  }
}

TEST_F(EditFilterDialogTest, ListEntryFillsTheFieldsOrBecomesAnExactCondition) {
  Open();
  auto* list = Get<QListWidget>("m_pQuantityListBox");
  EXPECT_FALSE((Click("FlagsFromList"), Box("Flags")->isChecked()));  // nothing selected: nothing taken
  list->setCurrentRow(0);
  for (const char* f : {"Quantity", "SubQuantity", "Flags", "Index", "Device"}) {
    EXPECT_TRUE((Click(QString(f) + "FromList"), Box(f)->isChecked())) << f;
  }
  const QString taken = Edit("Quantity")->text() + Edit("SubQuantity")->text() + Edit("Index")->text();
  EXPECT_EQ(taken + Edit("Device")->text(), "5112");
  EXPECT_TRUE(FlagStates("") == "0100001000" && FlagStates("Off") == "1011110111");  // Data and Mean on
  Click("Clear");  // the Off boxes stay
  EXPECT_TRUE(FlagStates("") == "0000000000" && FlagStates("Off") == "1011110111");
  for (int row : {0, 1}) list->setCurrentRow(row), Click("AddQuantity");
  const QStringList shown{list->item(0)->text(), Cell(0, 0), Cell(0, 1), Cell(0, 2), Cell(0, 3), Cell(0, 4)};
  EXPECT_EQ(shown + QStringList{Cell(1, 0)}, QStringList({"p_m", "p_m", "1", "65540", "1", "2", "7"}));
  Click("Ok");
  EXPECT_TRUE(Written(0, {5, 1, kFlagData | kFlagMean, 2, 1, 0x1F, 0xFFFFFFFF}));
}

TEST_F(EditFilterDialogTest, RemovingTheSecondOfThreeThenOkLeavesTwoAndTheRestInitial) {
  const std::vector<Cond> stored = {{5, -1, 0, 0, 0, 1, 0}, {5, 1, 0, 0, 0, 3, 0}, {5, 1, 0x10004, 0, 0, 7, ~0u}};
  std::fill(std::begin(entry_.aCondition), std::end(entry_.aCondition), kDevice3);  // stale, beyond the count
  Open(stored);
  // The slot's symbol only where its number and flags (none without the flags test) match.
  EXPECT_EQ(QStringList({Cell(0, 0), Cell(1, 0), Cell(2, 0)}), QStringList({"p", "p", "p_m"}));
  EXPECT_TRUE(List()->selectionModel()->isRowSelected(0, {}));
  List()->selectRow(1), Click("Remove");
  EXPECT_TRUE(List()->rowCount() == 2 && List()->selectionModel()->isRowSelected(1, {}));
  Click("Ok");
  EXPECT_TRUE(entry_.lCount == 2 && Written(0, stored[0]) && Written(1, stored[2]));
  for (int i = 2; i < kMaxConditions; ++i) EXPECT_TRUE(Written(i, {0, -1, 0, 0, 0, 0, 0})) << i;
  Open(stored);  // removing the last row removes only it and selects the one before it
  List()->selectRow(2), Click("Remove");
  EXPECT_TRUE(List()->rowCount() == 2 && List()->selectionModel()->isRowSelected(1, {}));
}

TEST_F(EditFilterDialogTest, OkNeedsANameAndTestedConditionsAndWritesOnlyWhatFits) {
  std::vector<Cond> hundred;
  for (uint16_t i = 0; i < kMaxConditions; ++i) hundred.push_back({i, -1, 0, 0, 0, kTestQuantity, 0});
  const std::vector<Cond> one{kDevice3}, untested{{1, -1, 0, 0, 0, 0, 0}}, both{untested[0], kDevice3};
  // Rows: name stored, pasted (null: none), conditions, rows added, button; accepted, open, name written.
  const struct { std::string stored; QString typed; std::vector<Cond> conditions; int added; const char* button;
                 bool accepted, open; std::string written; } cases[] = {
      {"Old", "", one, 0, "Ok", false, true, ""},        {"Old", "G", {}, 0, "Ok", false, true, ""},
      {"Old", "G", untested, 0, "Ok", false, true, ""},  {"Old", "G", one, 0, "Cancel", false, false, ""},
      {"Old", "G", both, 0, "Ok", true, false, "G"},     {"O", QString(200, u'ä'), one, 0, "Ok", false, true, ""},
      {std::string(300, 'x'), {}, one, 0, "Ok", true, false, std::string(299, 'x')},
      {"Gr\xf6\xdf" "e", {}, one, 0, "Ok", true, false, "Gr\xf6\xdf" "e"},  // unedited legacy bytes stay
      {"Old", "G", hundred, 2, "Ok", false, true, ""}};
  for (const auto& c : cases) {
    std::memcpy(entry_.szName, c.stored.c_str(), std::min<size_t>(c.stored.size() + 1, kGroupNameWidth));
    Open(c.conditions);
    const t_FilterEntry before = entry_;
    auto* name = Get<QLineEdit>("m_pFilterEntryName");
    if (!c.typed.isNull()) name->clear(), name->insert(c.typed);  // as a paste does: 400 bytes are refused
    for (int i = 0; i < c.added; ++i) AddFields("Device", "3");
    Click(c.button);
    EXPECT_TRUE(dialog_->isVisible() == c.open && (dialog_->result() == QDialog::Accepted) == c.accepted);
    const bool written = Written(0, kDevice3) && std::string(entry_.szName, strnlen(entry_.szName, 300)) == c.written;
    EXPECT_TRUE(c.accepted ? written : std::memcmp(&before, &entry_, sizeof before) == 0) << c.written;
  }
  ASSERT_EQ(toolkit_.messages.size(), 1u);  // only for the rows beyond 100
  EXPECT_EQ(toolkit_.messages[0].text,
            Tr("Too many conditions: a group takes at most 100.\nRows to remove: %1").arg(2));
  List()->selectRow(0);
  Click("Remove"), Click("Remove"), Click("Ok");  // the second Remove: the row now at the removed position
  EXPECT_TRUE(entry_.lCount == 100 && Written(0, hundred[2]) && Written(98, kDevice3) && Written(99, kDevice3));
}

}  // namespace
}  // namespace units::dialogs::testing
