// UnitEdit as a Qt host calls it: the library loads its dialogs plugin, the
// main dialog runs in the host's application and commits through the
// library into the store.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "units.h"

namespace {

// Runs `answer` on the next modal window other than `skip` once it is open.
void AnswerModal(std::function<void(QWidget*)> answer, QWidget* skip = nullptr) {
  QTimer::singleShot(0, [answer, skip] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == skip) return AnswerModal(answer, skip);
    answer(modal);
  });
}

void Click(QWidget* dialog, const char* name) {
  QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton);
}

int EnabledQuantities() {
  t_unitquantity* list = nullptr;
  int count = 0;
  UnitGetQuantities(list, count);
  UnitDeleteArray(list);
  return count;
}

class UnitEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("UNITS_REGISTRY_DB", database_.c_str(), 1);
    UnitChangeUserInfo(path_, user_, 0);  // the default files, written to this store
    ASSERT_GT(EnabledQuantities(), 0);
  }
  void TearDown() override { std::remove(database_.c_str()); }

  // Opens the main dialog; `script` runs in it, then it disables every
  // quantity and presses "Close".
  bool Edit(std::function<void(QWidget*)> script) {
    AnswerModal([script](QWidget* dialog) {
      auto* list = dialog->findChild<QTreeWidget*>("m_pkListView");
      list->selectAll();
      Click(dialog, "m_pkDisableButton");
      script(dialog);
      Click(dialog, "m_pkCloseButton");
    });
    return UnitEdit(static_cast<HWND>(nullptr));
  }

  std::string database_ = ::testing::TempDir() + "unit_edit_" + std::to_string(getpid()) + ".db";
  char path_[32] = "Software\\UnitEditTest\\";
  char user_[8] = "User";
};

TEST_F(UnitEditTest, CommitReachesTheStoreAndASecondDialogIsRefused) {
  void* published = nullptr;
  bool second = true;
  EXPECT_TRUE(Edit([&](QWidget* dialog) {
    published = _UnitMainDlg;
    second = UnitEdit(0UL);
    EXPECT_EQ(published, static_cast<QObject*>(dialog));
  }));
  EXPECT_EQ(std::tuple(second, _UnitMainDlg, EnabledQuantities()), std::tuple(false, nullptr, 0));
  UnitChangeUserInfo(path_, user_, 0);  // a reload reads what the commit stored
  EXPECT_EQ(EnabledQuantities(), 0);

  uint32_t no_rights = 0;
  UnitSetValue(100, &no_rights, sizeof(no_rights));
  EXPECT_FALSE(UnitEdit(0UL));
  uint32_t all_rights = 0xFFFFFFFF;
  UnitSetValue(100, &all_rights, sizeof(all_rights));
}

// A store that another program holds locked: the user is told, the library
// keeps its catalogue, and "Close" works once the lock is gone.
TEST_F(UnitEditTest, ALockedStoreIsReportedAndTheCommitCanBeRetried) {
  const int before = EnabledQuantities();
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(database_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  int during = -1;
  QString message;
  EXPECT_TRUE(Edit([&](QWidget* dialog) {
    AnswerModal([&](QWidget* box) {
      message = static_cast<QMessageBox*>(box)->text();
      during = EnabledQuantities();
      sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
      box->close();
    }, dialog);
    Click(dialog, "m_pkCloseButton");
  }));
  sqlite3_close(other);
  EXPECT_EQ(during, before);
  EXPECT_FALSE(message.isEmpty());
  EXPECT_EQ(EnabledQuantities(), 0);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
