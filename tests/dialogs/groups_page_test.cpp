#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/groups_page.h"
#include "dialogs/texts.h"
#include "fake_host.h"
#include "platform/files.h"
#include "storage/store_files.h"

namespace units::dialogs::testing {
namespace {

std::vector<t_FilterEntry> Groups(const std::vector<std::string>& names) {  // each with one condition in use
  std::vector<t_FilterEntry> groups(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    InitFilterEntry(&groups[i]);
    CopyText(groups[i].szName, kGroupNameWidth, names[i].c_str());
    groups[i].lCount = groups[i].aCondition[0].wQuantity = 1;
  }
  return groups;
}

class GroupsPageTest : public ::testing::Test {
 protected:
  void Open(const std::vector<std::string>& names, int32_t index, uint32_t privileges = ~0u) {
    host_.SetGroups(Groups(names), index);
    host_.privileges = privileges;
    auto edit = [this](t_FilterEntry* entry) {  // the group editor: OK unless `answer_` is null, renaming to it
      seen_ += entry->szName + std::string(";");
      if (answer_ != nullptr && *answer_ != '\0') CopyText(entry->szName, kGroupNameWidth, answer_);
      return answer_ != nullptr;
    };
    page_ = std::make_unique<GroupsPage>(nullptr, &host_, context_, GroupsPage::Hooks{edit, [this] { ++fronts_; }});
    ShowForTest(page_.get());
  }
  QTreeWidget* List() const { return page_->findChild<QTreeWidget*>("m_pListViewFilter"); }
  void Select(std::initializer_list<int> rows) {  // the first row becomes the current one
    List()->setCurrentItem(List()->topLevelItem(*rows.begin()), 0, QItemSelectionModel::ClearAndSelect);
    for (int row : rows) List()->topLevelItem(row)->setSelected(true);
  }
  void Click(const char* button) { QTest::mouseClick(page_->findChild<QPushButton*>(button), Qt::LeftButton); }
  void Run(std::initializer_list<int> rows, const char* button) { Select(rows); Click(button); }
  std::string Rows() const {  // "name|name" as shown, the marked row with a leading '*'
    std::string rows;
    for (QTreeWidgetItemIterator row(List()); *row != nullptr; ++row)
      rows += ((*row)->icon(0).isNull() ? "|" : "|*") + (*row)->text(1).toStdString();
    return rows.substr(1);
  }
  int32_t CommittedIndex() const { int32_t index = -1; page_->CommittedGroups(&index); return index; }
  QString WriteFdf(const std::vector<std::string>& names, int32_t index) {
    EXPECT_TRUE(platform::ReplaceFile(folder_.filePath("in.fdf").toStdString(), EncodeFdf(Groups(names), index)));
    return folder_.filePath("in.fdf");
  }

  ScriptedToolkit toolkit_;
  DialogContext context_ = TestContext(&toolkit_);
  FakeHost host_;
  QTemporaryDir folder_;
  std::unique_ptr<GroupsPage> page_;
  std::string seen_;  // the names the editor was opened on, each followed by ';'
  const char* answer_ = "";
  int fronts_ = 0;
};

TEST_F(GroupsPageTest, ButtonsFollowSelectionAndPrivileges) {
  // Enabled: Default, Add, Edit, Remove, Copy, Import, Export, Replace, in the order the page makes them.
  const struct { uint32_t privileges; std::initializer_list<int> rows; const char* enabled; } cases[] = {
      {~0u, {0}, "11000101"}, {~0u, {1, 0}, "11000101"}, {~0u, {1, 2}, "11010111"},   {~0u, {2}, "11111111"},
      {0, {1}, "00000000"},   {0x110000, {2}, "10000100"}, {0x620000, {2}, "01111011"}};
  for (const auto& c : cases) {
    Open({"A", "B"}, 0, c.privileges);
    Select(c.rows);
    std::string enabled;
    for (const QPushButton* button : page_->findChildren<QPushButton*>()) enabled += "01"[button->isEnabled()];
    EXPECT_EQ(enabled, c.enabled) << std::hex << c.privileges << " " << Rows();
  }
}

TEST_F(GroupsPageTest, KeysSelectAtOnceAndRemoveWhateverThePrivileges) {
  Open({"A", "B"}, 1, 0x100000);  // Import only
  toolkit_.paths = {WriteFdf({"C"}, 0)};
  Click("m_pImportFilter");
  emit List()->itemDoubleClicked(List()->topLevelItem(1), 1);  // editing is not allowed
  for (int row : {0, 2, 3}) {  // row 3 lies past the library's table: refused there, marked here
    Select({row});
    QTest::keyClick(List(), Qt::Key_Space);
    EXPECT_EQ(std::pair(host_.GroupIndex(), CommittedIndex()), std::pair(row == 3 ? 2 : row, row));
  }
  QTest::keyClick(List(), Qt::Key_Delete);
  EXPECT_EQ(Rows() + " " + std::to_string(CommittedIndex()), "All quantities|A|B 0");
  EXPECT_EQ(seen_, "");
}

TEST_F(GroupsPageTest, ImportSkipsShownNamesOnlyWhenGroupsAreShownAndReplaceTakesOnlyAStoredIndexWithinTheFile) {
  // Each command runs twice: importing a file twice adds it once. A file that cannot be read replaces nothing.
  const struct { bool replace; std::vector<std::string> shown; int32_t stored; const char* rows; } cases[] = {
      {false, {}, 1, "*All quantities|ALL QUANTITIES|Ä|B"}, {false, {"ä"}, 1, "All quantities|*ä|B"},
      {true, {"ä"}, 0, "*All quantities|ALL QUANTITIES|Ä|B"},  {true, {"ä"}, -1, "*All quantities|ALL QUANTITIES|Ä|B"},
      {true, {"ä"}, 4, "*All quantities|ALL QUANTITIES|Ä|B"},  {true, {"ä"}, 3, "All quantities|ALL QUANTITIES|Ä|*B"},
      {true, {"ä"}, kMissingIndex, "All quantities|*ä"}};
  for (const auto& c : cases) {
    const QString file = WriteFdf({"ALL QUANTITIES", "Ä", "B"}, c.stored);
    Open(c.shown, static_cast<int32_t>(c.shown.size()));
    toolkit_.paths.assign(2, c.stored == kMissingIndex ? folder_.filePath("none.fdf") : file);
    for (int time = 0; time < 2; ++time) Click(c.replace ? "m_pReplaceFilter" : "m_pImportFilter");
    EXPECT_EQ(Rows(), c.rows) << c.replace << c.stored;
    EXPECT_EQ(host_.GroupIndex(), CommittedIndex()) << c.replace << c.stored;
  }
  EXPECT_EQ(toolkit_.file_types.at(0).filter, "Unit Filter Files (*.FDF)|*.FDF");
}

TEST_F(GroupsPageTest, ExportWritesTheSelectedGroupsWithTheMarksPositionAmongThemOrWarns) {
  const QString out = folder_.filePath("out.fdf"), unwritable = folder_.filePath("missing/out.fdf");
  for (const auto& [mark, written] : {std::pair{3, "2:BC"}, {2, "1:BC"}, {1, "0:BC"}, {0, "0:BC"}}) {
    Open({"A", "B", "C"}, 1);
    Run({mark}, "m_pButtonSelectFilterEntry");
    toolkit_.paths = {out};
    Run({2, 3}, "m_pExportFilter");
    const FdfContents file = ReadFdfFile(out.toStdString());
    EXPECT_EQ(std::to_string(file.stored_index) + ":" + file.entries.at(0).szName + file.entries.at(1).szName, written);
  }
  SaveScreenshot(page_.get(), "groups_page");
  EXPECT_EQ(TextsThatDoNotFit(page_.get()), QStringList());
  toolkit_.paths = {unwritable};
  Click("m_pExportFilter");
  EXPECT_EQ(toolkit_.messages.size(), 1u);
  EXPECT_EQ(toolkit_.messages.at(0).text, Tr("The file could not be written:") + "\n" + unwritable);
  EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(GroupsPageTest, CopyAndEditOpenTheEditorOnARecordThatStaysInsideTheNameField) {
  Open({"Line", std::string(299, 'x')}, 0);
  answer_ = nullptr;
  Run({1}, "m_pButtonCopyFilterEntry");
  answer_ = "";
  Run({2}, "m_pButtonCopyFilterEntry");
  answer_ = "Wire";
  emit List()->itemDoubleClicked(List()->topLevelItem(2), 1);  // edits the selected row
  EXPECT_EQ(seen_, "Copy of Line;Copy of " + std::string(291, 'x') + ";" + std::string(299, 'x') + ";");
  EXPECT_EQ(Rows(), "*All quantities|Line|Wire|Copy of " + std::string(291, 'x'));
  const t_FilterEntry copy = page_->CommittedGroups(nullptr).back();
  EXPECT_EQ(copy.lCount + copy.aCondition[0].wQuantity, 2);
  EXPECT_EQ(fronts_, 3);
}

}  // namespace
}  // namespace units::dialogs::testing
