#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/edit_quantity_dialog.h"
#include "dialogs/quantity_list.h"
#include "dialogs/texts.h"

namespace units::dialogs::testing {

using Message = ScriptedToolkit::Message;
auto Key(const Message& m) { return std::tie(m.owner, m.text, m.caption, m.icon, m.placement); }
bool operator==(const Message& a, const Message& b) { return Key(a) == Key(b); }

namespace {

class StandInList : public QObject, public QuantityList {  // a main dialog whose one row "v - V" has id `taken`
  Q_OBJECT
  Q_INTERFACES(units::dialogs::QuantityList)

 public:
  bool FindListQuantity(uint16_t id, QString* row_text) const override {
    if (id == taken && row_text != nullptr) *row_text = QStringLiteral("v - V");
    return id == taken;
  }
  uint16_t taken = 9;
};

t_quantity Sample() {  // units in slots 0, 1 (current), 4; subquantities in 1, 4, 6, 8 with their slot as symbol
  t_quantity record{7, "Length", "l", "", 0, 1, {{1, 0, "m", 1}, {0.001, 0, "km", 1}, {}, {}, {1000, 0, "mm", 1}}, {}};
  for (int slot : {1, 4, 6, 8}) record.aSubQuantity[slot] = {0, "", {char('0' + slot)}, "", 3, 0, 3, {}, {}};
  return record;
}

char State(const QWidget* w) { return w == nullptr ? ' ' : w->isHidden() ? '-' : "01"[w->isEnabled()]; }  // ' ' missing

class EditQuantityDialogTest : public ::testing::Test {
 protected:
  void Open(int edit_mode = 1, int page = 0) {
    DialogContext context = TestContext(&toolkit_, edit_mode);
    context.settings.main_dialog = &main_dialog_;
    dialog_ = std::make_unique<TEditQuantityDlg>(nullptr, &record_, context);
    ShowForTest(dialog_.get());
    Find<QTabWidget>("PageControl1")->setCurrentIndex(page);
  }
  template <class T = QLineEdit> T* Find(const QString& name) { return dialog_->findChild<T*>(name); }
  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
  void Select(const char* list, const std::string& rows) {  // ctrl-clicks the selection away, then `rows`
    auto* view = Find<QAbstractItemView>(list);
    for (char row : Selected(list) + rows) {
      const QModelIndex index = view->model()->index(row - '0', 0);
      QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, view->visualRect(index).center());
    }
  }
  std::string Selected(const char* list) {  // the selected rows as digits
    std::string rows;
    for (const auto& i : Find<QAbstractItemView>(list)->selectionModel()->selectedRows()) rows += char('0' + i.row());
    return rows;
  }
  std::string Enabled(const QString& prefix, std::initializer_list<const char*> names) {  // of `prefix` + name
    std::string enabled;
    for (const char* name : names) enabled += State(dialog_->findChild<QWidget*>(prefix + name));
    return enabled;
  }
  void AnswerOk(const char* edit) {  // presses OK on the next modal dialog; seen_ gets its caption and `edit`'s text
    QTimer::singleShot(0, [this, edit] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return AnswerOk(edit);
      seen_ << modal->windowTitle() << modal->findChild<QLineEdit*>(edit)->text();
      QTest::mouseClick(modal->findChild<QPushButton*>("m_pkButtonOK"), Qt::LeftButton);
    });
  }

  ScriptedToolkit toolkit_;
  StandInList stand_in_;
  void* main_dialog_ = static_cast<QObject*>(&stand_in_);
  t_quantity record_ = Sample();
  std::unique_ptr<TEditQuantityDlg> dialog_;
  QStringList seen_;
};

TEST_F(EditQuantityDialogTest, OpensOnTheCurrentUnitsRowAndEveryPageFits) {
  const std::tuple<int, uint32_t, int> rows[] = {{-1, 0, -1}, {0, 0, 1}, {1, 1, 4}, {2, 4, 6}, {3, 0, 8}, {4, 0, -1}};
  for (const auto& [row, unit, sub] : rows)
    EXPECT_EQ(std::tuple(UnitSlotOfRow(record_, row), SubQuantitySlotOfRow(record_, row)), std::tuple(unit, sub));
  const std::tuple<uint32_t, const char*, std::string> cases[] = {  // undefined slots before dwUnit move its row up
      {4, "Length", "2"}, {1, "", "1"}, {3, "Length", "1"}, {12, "", "0"}};
  for (const auto& [current, name, row] : cases) {
    record_.dwUnit = current;
    CopyText(record_.szName, kNameWidth, name);
    Open();
    EXPECT_EQ(Selected("QuanListBox"), row) << current;
    EXPECT_EQ(dialog_->windowTitle(), Tr("Properties of '%s'", 0).replace("%s", Tr(*name ? name : "New Quantity")));
  }
  const char* pages[] = {"edit_quantity_general", "edit_quantity_units", "edit_quantity_subquantities"};
  for (int page = 0; page < 3; ++page) {
    Find<QTabWidget>("PageControl1")->setCurrentIndex(page);
    SaveScreenshot(dialog_.get(), pages[page]);
    EXPECT_EQ(TextsThatDoNotFit(dialog_.get()), QStringList()) << pages[page];
  }
}

TEST_F(EditQuantityDialogTest, ButtonsFollowTheSelection) {
  const std::tuple<int, int, std::string, std::string> cases[] = {  // mode, page, rows: Add Edit Remove Enable Disable
      {1, 1, "0", "100  "}, {1, 1, "", "100  "}, {1, 1, "1", "111  "}, {1, 1, "12", "101  "}, {1, 2, "", "10000"},
      {1, 2, "1", "11111"}, {1, 2, "02", "10111"}, {0, 2, "1", "01000"}, {0, 2, "02", "00000"}};
  for (const auto& [mode, page, rows, enabled] : cases) {
    Open(mode, page);
    Select(page == 1 ? "QuanListBox" : "SubQuanListView", rows);
    EXPECT_EQ(Enabled(page == 1 ? "Quan" : "SubQuan", {"Add", "Edit", "Remove", "Enable", "Disable"}), enabled);
  }
}

TEST_F(EditQuantityDialogTest, EditModeDecidesWhatTheGeneralPageChanges) {
  const std::tuple<int, std::string, QStringList> cases[] = {  // mode 0 keeps name, SI, id whatever the edits hold
      {0, "0000-", {"Length", "m", "3", "3", "7"}}, {1, "11111", {"3", "3", "3", "3", "3"}},
      {2, "11110", {"3", "3", "3", "3", "3"}}};
  for (const auto& [mode, enabled, stored] : cases) {
    record_ = Sample();
    Open(mode);
    EXPECT_EQ(Find("GenEditName")->text(), mode == 0 ? Tr("Length") : QStringLiteral("Length"));
    EXPECT_EQ(Enabled("GenEdit", {"Name", "SI", "Symbol", "Text", "Grosse"}), enabled);
    for (const char* edit : {"Name", "SI", "Symbol", "Text", "Grosse"}) Find("GenEdit" + QString(edit))->setText("3");
    Click("OKBtn");
    EXPECT_EQ(QStringList({record_.szName, record_.aUnit[0].szText, record_.szSymbol, record_.szText,
                           QString::number(record_.wId)}), stored) << mode;
  }
}

TEST_F(EditQuantityDialogTest, TakenIdentifiersAreShownWhileTypingAndRefusedByOk) {
  const std::tuple<uint16_t, uint16_t, const char*, bool> cases[] = {  // own id never taken; 0 accepted while free
      {7, 9, "\b9", false}, {7, 7, "\b7", true}, {0, 9, "\b0", true}, {0, 0, "\b0", false}};
  for (const auto& [id, taken, typed, accepted] : cases) {
    record_.wId = id;
    stand_in_.taken = taken;
    toolkit_.messages.clear();
    Open();
    TypeInto(Find("GenEditGrosse"), typed);
    EXPECT_EQ(Find<QLabel>("GenInfoLabelGroesse")->text(), accepted ? "" : Tr("Quantity already exists") + ":\nv - V");
    Click("OKBtn");
    EXPECT_EQ(std::tuple(dialog_->isVisible(), +record_.wId), std::tuple(!accepted, accepted ? typed[1] - '0' : id));
    const Message refusal{dialog_.get(), "Quantity already exists!", Tr("Quantities / Units"),
                          ToolkitServices::Icon::kWarning, ToolkitServices::Placement::kOnTop};
    EXPECT_EQ(toolkit_.messages, accepted ? std::vector<Message>{} : std::vector<Message>{refusal});
  }
}

TEST_F(EditQuantityDialogTest, RemovedUnitsStayStoredAndAddTakesTheLowestFreeSlot) {
  for (const char* button : {"OKBtn", "CancelBtn"}) {
    record_ = Sample();
    Open(1, 1);
    Click("QuanRemove");  // the current unit; Edit and Remove stay as the refill left them
    EXPECT_EQ(std::tuple(Selected("QuanListBox"), Enabled("Quan", {"Edit", "Remove"})), std::tuple("1", "00"));
    Click(button);
    EXPECT_EQ(std::tuple(+record_.dwUnit, +record_.aUnit[1].wState), std::tuple(*button == 'O' ? 4u : 1u, 0));
  }
  Open(1, 1);
  AnswerOk("m_pkEditSymbol");
  Click("QuanAdd");
  EXPECT_EQ(seen_, QStringList({Tr("Edit unit"), "km"}));
  EXPECT_EQ(std::tuple(+record_.aUnit[1].wState, Find<QAbstractItemView>("QuanListBox")->model()->rowCount(),
                       Selected("QuanListBox")), std::tuple(kUnitDefined, 3, "0"));
  for (t_quantityunit& unit : record_.aUnit) unit.wState = kUnitDefined;
  Click("QuanAdd");
  const Message none{nullptr, Tr("No available entries"), Tr("Add unit"), ToolkitServices::Icon::kNone,
                     ToolkitServices::Placement::kForeground};
  EXPECT_EQ(toolkit_.messages, std::vector<Message>{none});
}

TEST_F(EditQuantityDialogTest, SubquantitiesChangeAtOnceAndKeepTheSelectedPositions) {
  t_subquantity* sub = record_.aSubQuantity;
  sub[0] = {5, "Removed", "r", "", 0, 0, 0, {}, {}};
  Open(1, 2);
  AnswerOk("m_pkEditName");
  Click("SubQuanAdd");
  EXPECT_EQ(std::tuple(seen_, +sub[0].wState), std::tuple(QStringList({Tr("Add subquantity"), ""}), 3));
  Select("SubQuanListView", "13");  // slots 1 and 6
  Click("SubQuanDisable");
  EXPECT_EQ(std::tuple(+sub[1].wState, +sub[4].wState, +sub[6].wState, Selected("SubQuanListView")),
            std::tuple(1, 3, 1, "13"));
  Click("SubQuanEnable");
  Click("SubQuanRemove");
  EXPECT_EQ(std::tuple(+sub[1].wState, +sub[1].wCount, +sub[6].wState, +sub[8].wState), std::tuple(2, 0, 2, 3));
  const QString symbol = Find<QAbstractItemView>("SubQuanListView")->model()->index(1, 1).data().toString();
  EXPECT_EQ(std::tuple(Selected("SubQuanListView"), symbol), std::tuple("1", "4"));  // the selection kept its position
}

}  // namespace
}  // namespace units::dialogs::testing

#include "edit_quantity_dialog_test.moc"
