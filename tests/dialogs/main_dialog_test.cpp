#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "dialog_test_support.h"
#include "dialogs/main_dialog.h"
#include "dialogs/texts.h"
#include "fake_host.h"
#include "platform/files.h"
#include "storage/store_files.h"

namespace units {
namespace dialogs {
namespace testing {
namespace {

std::shared_ptr<t_quantity> Quantity(uint16_t id, const char* name, const char* symbol, bool enabled) {
  auto record = std::make_shared<t_quantity>();
  InitQuantity(record.get());
  record->wId = id;
  CopyText(record->szName, kNameWidth, name);
  CopyText(record->szSymbol, kSymbolWidth, symbol);
  CopyText(record->szText, kSymbolWidth, (std::string(symbol) + "-text").c_str());
  CopyText(record->aUnit[0].szText, kSymbolWidth, "SI");
  record->dwState = enabled ? kQuantityEnabled : 0;
  return record;
}

// Runs `answer` on the next modal dialog once it is open.
void AnswerModal(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->objectName() == u"TUnitMainDlg") return AnswerModal(answer);
    answer(modal);
  });
}

void Click(QWidget* parent, const char* name) {
  QTest::mouseClick(parent->findChild<QPushButton*>(name), Qt::LeftButton);
}

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.contents.catalogue = MakeCatalogue({Quantity(3, "Pressure", "p", true), Quantity(1, "Length", "l", false),
                                              Quantity(2, "Time", "t", true)});
    context_.settings.main_dialog = &open_dialog_;
  }
  void Open() {
    dialog_ = std::make_unique<TUnitMainDlg>(nullptr, &host_, context_);
    open_dialog_ = static_cast<QObject*>(dialog_.get());
    list_ = dialog_->findChild<QTreeWidget*>("m_pkListView");
    ShowForTest(dialog_.get());
  }
  QString Name(int row) const { return list_->topLevelItem(row)->text(2); }
  // Writes a UDF file of `records` without its last `cut` bytes and has the
  // file dialog answer with it.
  void ChooseFile(const char* name, std::initializer_list<std::pair<uint16_t, const char*>> records, size_t cut = 0) {
    QuantityTable file;
    for (auto [id, text] : records) file.push_back(std::make_unique<t_quantity>(*Quantity(id, text, "m", true)));
    const std::string bytes = EncodeUdf(file, 0, 0);
    std::filesystem::create_directories(folder_);
    ASSERT_TRUE(platform::ReplaceFile(folder_ + name, bytes.substr(0, bytes.size() - cut)));
    toolkit_.paths = {QString::fromStdString(folder_ + name)};
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void Select(std::initializer_list<int> rows) {
    list_->clearSelection();
    for (int row : rows) list_->topLevelItem(row)->setSelected(true);
  }

  FakeHost host_;
  ScriptedToolkit toolkit_;
  DialogContext context_ = TestContext(&toolkit_);
  void* open_dialog_ = nullptr;
  std::unique_ptr<TUnitMainDlg> dialog_;
  QTreeWidget* list_ = nullptr;
  std::string folder_ = ::testing::TempDir() + "main_dialog_" + std::to_string(getpid()) + "/";
};

// Names that sort differently in German; the rows follow the translation.
TEST_F(MainDialogTest, AddChooseImportExportAndCommit) {
  Open();
  EXPECT_LT(Name(0).localeAwareCompare(Name(1)), 0);
  EXPECT_LT(Name(1).localeAwareCompare(Name(2)), 0);
  EXPECT_TRUE(Name(0) == Tr("Length") || Name(0) == Tr("Pressure"));
  SaveScreenshot(dialog_.get(), "main_units");
  EXPECT_EQ(TextsThatDoNotFit(dialog_.get()), QStringList());

  // Add: a quantity with its SI unit and one more unit.
  AnswerModal([](QWidget* editor) {
    TypeInto(editor->findChild<QLineEdit*>("GenEditName"), "Force");
    TypeInto(editor->findChild<QLineEdit*>("GenEditSI"), "N");
    TypeInto(editor->findChild<QLineEdit*>("GenEditSymbol"), "F");
    editor->findChild<QLineEdit*>("GenEditGrosse")->setText("7");
    AnswerModal([](QWidget* unit) {
      TypeInto(unit->findChild<QLineEdit*>("m_pkEditSymbol"), "kN");
      unit->findChild<QLineEdit*>("m_pkEditFactor")->setText("0.001");
      Click(unit, "m_pkButtonOK");
    });
    Click(editor, "QuanAdd");
    Click(editor, "OKBtn");
  });
  Click(dialog_.get(), "m_pkAddButton");
  ASSERT_EQ(list_->topLevelItemCount(), 4);
  const QList<QTreeWidgetItem*> found = list_->findItems(Tr("Force"), Qt::MatchExactly, 2);
  ASSERT_EQ(found.size(), 1);
  const int force = list_->indexOfTopLevelItem(found[0]);

  // Unit ...: the second unit becomes the display unit of the copy.
  Select({force});
  AnswerModal([](QWidget* chooser) {
    auto* units = chooser->findChild<QListWidget*>("m_ptUnitList");
    units->clearSelection();
    units->item(1)->setSelected(true);
    Click(chooser, "OKBtn");
  });
  Click(dialog_.get(), "m_pkUnitButton");
  EXPECT_EQ(list_->topLevelItem(force)->text(3), "kN");

  // Import: an identifier already listed and one twice in the file.
  ChooseFile("in.udf", {{2, "Other"}, {9, "Time"}, {9, "Twin"}});  // a second "Time" stays after the first
  Click(dialog_.get(), "m_pkImportButton");
  EXPECT_EQ(list_->topLevelItemCount(), 5);
  EXPECT_TRUE(list_->findItems("Twin", Qt::MatchExactly, 2).isEmpty());
  EXPECT_TRUE(list_->findItems("Other", Qt::MatchExactly, 2).isEmpty());

  // Export: two rows in row order, the display settings marked as not set.
  Select({4, 0});
  toolkit_.paths = {QString::fromStdString(folder_ + "out.udf")};
  Click(dialog_.get(), "m_pkExportButton");
  const UdfContents exported = ReadUdfFile(folder_ + "out.udf");
  ASSERT_EQ(exported.complete_records, 2u);
  EXPECT_EQ(std::tuple(exported.unit_format, exported.text_mode, Tr(exported.records[0]->szName),
                       Tr(exported.records[1]->szName)),
            std::tuple(kUnitFormatNotSet, kTextModeNotSet, Name(0), Name(4)));
  EXPECT_EQ(toolkit_.file_types.back().filter, "Unit Data Files (*.UDF)|*.UDF");
  toolkit_.paths = {QString::fromStdString(folder_ + "missing/out.udf")};  // a folder that is not there
  Click(dialog_.get(), "m_pkExportButton");
  EXPECT_EQ(toolkit_.messages.size(), 1u);

  Click(dialog_.get(), "m_pkCloseButton");
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  const auto& committed = host_.contents.catalogue->Records();
  ASSERT_EQ(committed.size(), 5u);
  for (int row = 0; row < 5; ++row) EXPECT_EQ(Tr(committed[row]->szName), Name(row));
  EXPECT_EQ(committed[3]->wId * 100 + committed[4]->wId, 209);
  const t_quantity& added = *committed[static_cast<size_t>(force)];
  EXPECT_EQ(std::tuple(+added.wId, +added.dwState, +added.dwUnit, std::string(added.aUnit[1].szText)),
            std::tuple(7, kQuantityEnabled, 1u, std::string("kN")));
}

// Text mode and unit format act at once; Remove and Replace change only
// the working copies, which the close box throws away.
TEST_F(MainDialogTest, SettingsActAtOnceAndTheCloseBoxDiscardsTheList) {
  Open();
  Select({0, 2});
  Click(dialog_.get(), "m_pkRemoveButton");
  EXPECT_EQ(std::tuple(list_->topLevelItemCount(), list_->selectedItems().size()), std::tuple(1, 0));
  // A file cut short inside its second record gives the first one only.
  ChooseFile("cut.udf", {{4, "Cut"}, {5, "Cut"}}, 10);
  Click(dialog_.get(), "m_pkReplaceButton");
  EXPECT_EQ(list_->topLevelItemCount(), 1);
  auto* tabs = dialog_->findChild<QTabWidget*>("m_pPageControl");
  for (auto [page, shot] : {std::pair{1, "main_groups"}, {2, "main_format"}}) {
    tabs->setCurrentIndex(page);
    SaveScreenshot(dialog_.get(), shot);
    EXPECT_EQ(TextsThatDoNotFit(dialog_.get()), QStringList()) << shot;
  }
  QTest::mouseClick(dialog_->findChild<QRadioButton*>("UnitFormat3"), Qt::LeftButton);
  QTest::mouseClick(dialog_->findChild<QCheckBox*>("m_pkSymbolsCheckBox"), Qt::LeftButton);
  EXPECT_EQ(std::tuple(host_.contents.unit_format, host_.contents.text_mode + 0), std::tuple(3, 1));
  dialog_->close();
  EXPECT_EQ(std::tuple(dialog_->result(), host_.commits, host_.contents.catalogue->Records().size()),
            std::tuple(int{QDialog::Rejected}, 0, size_t{3}));
}

// Rows: privileges, selected rows, the controls enabled among those the
// selection and the privileges decide.
TEST_F(MainDialogTest, SelectionAndPrivilegesEnableTheControls) {
  const char* controls[] = {"m_pkUnitButton", "m_pkEditButton", "m_pkRemoveButton", "m_pkEnableButton",
                            "m_pkDisableButton", "m_pkExportButton", "m_pkAddButton", "m_pkImportButton",
                            "m_pkReplaceButton", "m_pkSymbolsCheckBox"};
  const struct { uint32_t privileges; std::initializer_list<int> rows; const char* enabled; } cases[] = {
      {~0u, {}, "0000001111"},      {~0u, {1}, "1111111111"},     {~0u, {0, 2}, "1011111111"},
      {~0x2u, {1}, "1111111110"},   {~0x10u, {1}, "0111111111"},  {~0x20u, {1}, "1001110111"},
      {~0x40u, {1}, "1110011111"},  {~0x700u, {1}, "1111101001"}};
  for (const auto& c : cases) {
    host_.privileges = c.privileges;
    Open();
    Select(c.rows);
    std::string enabled;
    for (const char* control : controls) enabled += dialog_->findChild<QWidget*>(control)->isEnabled() ? '1' : '0';
    EXPECT_EQ(enabled, c.enabled) << std::hex << c.privileges;
  }
  // A double-click edits and a right-click chooses units only with their
  // privileges; a right-click beside the rows, with none selected, opens
  // nothing. Counted: the modal dialogs that opened (each is closed).
  for (uint32_t privileges : {0xFFFFFFFFu, ~0x30u}) {
    host_.privileges = privileges;
    Open();
    int opened = 0;
    const auto act = [&](const std::function<void()>& action) {
      QTimer::singleShot(20, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) ++opened, modal->close();
      });
      action();
      QTest::qWait(40);
    };
    Select({0});
    act([&] { emit list_->itemDoubleClicked(list_->topLevelItem(0), 0); });
    const QPoint on_row = list_->visualItemRect(list_->topLevelItem(1)).center();
    act([&] { QTest::mouseClick(list_->viewport(), Qt::RightButton, {}, on_row); });
    list_->clearSelection();
    act([&] { QTest::mouseClick(list_->viewport(), Qt::RightButton, {}, QPoint(5, list_->viewport()->height() - 5)); });
    EXPECT_EQ(opened, privileges == 0xFFFFFFFFu ? 2 : 0) << std::hex << privileges;
  }
}

}  // namespace
}  // namespace testing
}  // namespace dialogs
}  // namespace units
