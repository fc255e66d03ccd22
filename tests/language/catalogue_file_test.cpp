#include "language/catalogue_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace units {
namespace language {
namespace {

namespace fs = std::filesystem;

class CatalogueFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = ::testing::TempDir() + "language_file_" + info->name() + "_" + std::to_string(getpid()) + "/";
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ + name, std::ios::binary) << bytes;
    return folder_ + name;
  }

  std::string folder_;
  std::vector<char> bytes_{'x'};
  std::string error_;
};

TEST_F(CatalogueFileTest, ReadsTheWholeFile) {
  const std::string content("\xDE\x12\x04\x95\0rest", 9);
  ASSERT_EQ(ReadCatalogueFile(Write("a.mo", content), 100, &bytes_, &error_), FileRead::kOk);
  EXPECT_EQ(std::string(bytes_.begin(), bytes_.end()), content);
  ASSERT_EQ(ReadCatalogueFile(Write("empty.mo", ""), 100, &bytes_, &error_), FileRead::kOk);
  EXPECT_TRUE(bytes_.empty());
}

TEST_F(CatalogueFileTest, MissingFileOrFolderIsNotAnError) {
  EXPECT_EQ(ReadCatalogueFile(folder_ + "none.mo", 100, &bytes_, &error_), FileRead::kMissing);
  EXPECT_TRUE(bytes_.empty());
  EXPECT_EQ(ReadCatalogueFile(folder_ + "none/LC_MESSAGES/units.mo", 100, &bytes_, &error_), FileRead::kMissing);
  // A path component that is a file, not a folder.
  Write("plain", "x");
  EXPECT_EQ(ReadCatalogueFile(folder_ + "plain/units.mo", 100, &bytes_, &error_), FileRead::kMissing);
}

TEST_F(CatalogueFileTest, RefusesFilesAboveTheLimit) {
  const std::string path = Write("big.mo", std::string(101, 'x'));
  EXPECT_EQ(ReadCatalogueFile(path, 100, &bytes_, &error_), FileRead::kRejected);
  EXPECT_EQ(error_, "file size: above the limit");
  EXPECT_TRUE(bytes_.empty());
  EXPECT_EQ(ReadCatalogueFile(path, 101, &bytes_, &error_), FileRead::kOk);
  EXPECT_EQ(bytes_.size(), 101u);
}

TEST_F(CatalogueFileTest, RefusesFoldersAndFifosWithoutBlocking) {
  fs::create_directories(folder_ + "dir.mo");
  EXPECT_EQ(ReadCatalogueFile(folder_ + "dir.mo", 100, &bytes_, &error_), FileRead::kRejected);
  EXPECT_EQ(error_, "not a regular file");
  // Opening a FIFO without a writer would block a plain open() forever.
  ASSERT_EQ(mkfifo((folder_ + "fifo.mo").c_str(), 0600), 0);
  EXPECT_EQ(ReadCatalogueFile(folder_ + "fifo.mo", 100, &bytes_, &error_), FileRead::kRejected);
}

TEST_F(CatalogueFileTest, OpenFailuresOtherThanMissingAreRejected) {
  const std::string loop = folder_ + "loop.mo";
  fs::create_symlink(loop, loop);
  EXPECT_EQ(ReadCatalogueFile(loop, 100, &bytes_, &error_), FileRead::kRejected);
  EXPECT_EQ(error_.rfind("open: ", 0), 0u) << error_;
  if (geteuid() != 0) {  // root reads files whatever their mode
    const std::string path = Write("locked.mo", "x");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    EXPECT_EQ(ReadCatalogueFile(path, 100, &bytes_, &error_), FileRead::kRejected);
  }
}

}  // namespace
}  // namespace language
}  // namespace units
