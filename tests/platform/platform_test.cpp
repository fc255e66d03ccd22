#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "test_support.h"

namespace units {
namespace platform {
namespace {

using testing::ReadWholeFile;
using testing::WriteWholeFile;
using PlatformTest = testing::TempFolderTest;

TEST_F(PlatformTest, ProfileReadsAsTheWindowsProfileReaderDoes) {
  struct Case { const char* text; const char* key; size_t size; const char* expected; };
  const Case cases[] = {
      {"[units]\n  MODE =  Autocreate  \r\n", "Mode", 512, "Autocreate"},
      {"[ Units ]\nLog=On", "log", 512, "On"},
      {"\xEF\xBB\xBF[Units]\r\nLog=Yes\r\n", "Log", 512, "Yes"},
      {"[Other]\nMode=X\n", "Mode", 512, "dflt"},
      {"[Units]\n[Other]\nMode=X\n", "Mode", 512, "dflt"},
      {"[Units]\nModes=X\nMode\n", "Mode", 512, "dflt"},
      {"Mode=X\n[Units]\n", "Mode", 512, "dflt"},
      {"[Units]\nMode=A\nMode=B\n[Units]\nMode=C\n", "Mode", 512, "A"},
      {"[Units]\nMode=\"Standard\"\n", "Mode", 512, "Standard"},
      {"[Units]\nMode= 'x y' \n", "Mode", 512, "x y"},
      {"[Units]\nMode=\"\"\n", "Mode", 512, ""},
      {"[Units]\nMode=\"\n", "Mode", 512, "\""},
      {"[Units]\nMode='x\"\n", "Mode", 512, "'x\""},
      {"[Units]\nMode=a=b\n", "Mode", 512, "a=b"},
      {"[Units]\nMode=abc\n", "Mode", 3, "ab"},
      {"[Units]\nMode=abc\n", "Mode", 0, ""},
      {"[Other]\n", "Mode", 3, "df"},
  };
  const std::string path = folder_ + "UNITS.INI";
  for (const Case& c : cases) {
    WriteWholeFile(path, c.text);
    EXPECT_EQ(ReadProfileString(path, "Units", c.key, "dflt", c.size), c.expected) << c.text;
  }
  WriteWholeFile(path, "[Units]\nMode=" + std::string(100000, 'v') + "\n");
  EXPECT_EQ(ReadProfileString(path, "Units", "Mode", "dflt", 512), std::string(511, 'v'));
  EXPECT_EQ(ReadProfileString(folder_ + "none.ini", "Units", "Mode", "dflt", 512), "dflt");
}

std::set<std::string> Folder(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST_F(PlatformTest, NewFileFollowsTheUmaskAndAReplacedOneKeepsItsMode) {
  const mode_t mask = umask(0);
  umask(mask);
  const std::string path = data_ + "A.UDF";
  ASSERT_TRUE(ReplaceFile(path, "first"));
  EXPECT_EQ(ModeOf(path), 0666 & ~mask);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(ReplaceFile(path, "second"));
  EXPECT_EQ(ReadWholeFile(path), "second");
  EXPECT_EQ(ModeOf(path), 0640u);
}

TEST_F(PlatformTest, FailedReplaceLeavesTheOldFileAndNoTemporary) {
  const std::string path = data_ + "A.UDF";
  WriteWholeFile(path, "old");
  static std::string seen;
  SetReplaceFileHookForTesting([](const std::string& temporary) { return (seen = temporary).empty(); });
  // Random names: enough tries that every character of the alphabet shows.
  for (int i = 0; i < 64; ++i) {
    EXPECT_FALSE(ReplaceFile(path, "new"));
    EXPECT_EQ(seen.substr(0, path.size() + 4), path + ".tmp");
    EXPECT_EQ(seen.size(), path.size() + 10);
  }
  SetReplaceFileHookForTesting(nullptr);
  EXPECT_EQ(ReadWholeFile(path), "old");
  EXPECT_EQ(Folder(data_), std::set<std::string>{"A.UDF"});
  // A write the system cuts short (a full disk; here a file size limit).
  rlimit limit{}, small{};
  getrlimit(RLIMIT_FSIZE, &limit);
  small = limit;
  small.rlim_cur = 2;
  signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const bool replaced = ReplaceFile(path, "newer");
  setrlimit(RLIMIT_FSIZE, &limit);
  EXPECT_FALSE(replaced);
  EXPECT_EQ(ReadWholeFile(path), "old");
}

TEST_F(PlatformTest, ReplaceRemovesOnlyStaleTemporariesOfTheSameFile) {
  // name -> whether the next save of A.UDF removes it once it is old
  const std::pair<const char*, bool> leftovers[] = {
      {"A.UDF.tmpAb3xYz", true},   {"A.UDF.tmp000000", true},  {"A.UDF.tmpAb3xY", false},
      {"A.UDF.tmpAb3xYz1", false}, {"A.UDF.tmpAb-xYz", false}, {"B.UDF.tmpAb3xYz", false},
      {"A.UDFtmpAb3xYz", false},   {"XA.UDF.tmpAb3xYz", false},
  };
  std::set<std::string> expected = {"A.UDF", "A.UDF.tmpFRESH1"};
  const timeval old_times[2] = {{time(nullptr) - 120, 0}, {time(nullptr) - 120, 0}};
  for (const auto& [name, stale] : leftovers) {
    WriteWholeFile(data_ + name, "partial");
    ASSERT_EQ(utimes((data_ + name).c_str(), old_times), 0);
    if (!stale) expected.insert(name);
  }
  // Young: perhaps a save still running in another process.
  WriteWholeFile(data_ + "A.UDF.tmpFRESH1", "partial");
  ASSERT_TRUE(ReplaceFile(data_ + "A.UDF", "new"));
  EXPECT_EQ(Folder(data_), expected);
  EXPECT_EQ(ReadWholeFile(data_ + "A.UDF"), "new");
}

const char kStoredKey[] = "Software\\Acme\\Units\\UserA";

// The table this library creates, or one that another program made from the
// same schema without COLLATE NOCASE: both compare names without case.
class RegistryCaseTest : public testing::TempFolderTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    if (!GetParam()) {
      auto key = Open(kStoredKey, RegistryKey::Access::kWrite);
      ASSERT_TRUE(key->Write("Value", "old") && key->Commit());
    }
    ASSERT_EQ(sqlite3_open((data_ + "REGISTRY.DB").c_str(), &db_), SQLITE_OK);
    if (!GetParam()) return;
    Exec("CREATE TABLE registry_values(root TEXT, key TEXT, name TEXT, type INTEGER, data BLOB, "
         "PRIMARY KEY(root, key, name))");
    Exec(std::string("INSERT INTO registry_values VALUES('HKEY_USERS', '") + kStoredKey + "', 'Value', 3, X'6F6C64')");
  }
  void TearDown() override {
    sqlite3_close(db_);
    TempFolderTest::TearDown();
  }
  std::unique_ptr<RegistryKey> Open(const char* key, RegistryKey::Access access,
                                    RegistryRoot root = RegistryRoot::kUsers) {
    std::string error;
    auto handle = RegistryKey::Open(data_ + "REGISTRY.DB", root, key, access, &error);
    EXPECT_NE(handle, nullptr) << error;
    return handle;
  }
  // Every row, each field followed by '|'.
  std::string Exec(const std::string& sql) {
    std::string rows;
    const auto row = [](void* out, int columns, char** values, char**) {
      for (int i = 0; i < columns; ++i) *static_cast<std::string*>(out) += std::string(values[i]) + "|";
      return 0;
    };
    EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), row, &rows, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
    return rows;
  }

  sqlite3* db_ = nullptr;
};

TEST_P(RegistryCaseTest, NamesCompareWithoutCaseAndKeepTheirStoredSpelling) {
  std::string bytes;
  auto reader = Open("software\\acme\\units\\usera", RegistryKey::Access::kRead);
  EXPECT_TRUE(reader->Read("VALUE", &bytes, 3));
  EXPECT_EQ(bytes, "old");
  EXPECT_FALSE(reader->Read("Value", &bytes, 2) || reader->Write("Value", "x")) << "too long; read-only";
  EXPECT_FALSE(Open(kStoredKey, RegistryKey::Access::kRead, RegistryRoot::kLocalMachine)->Read("Value", &bytes, 16));
  auto key = Open("SOFTWARE\\ACME\\UNITS\\USERA", RegistryKey::Access::kWrite);
  ASSERT_TRUE(key->Write("vALUE", "new"));
  ASSERT_TRUE(key->Write("Added", "x"));
  EXPECT_EQ(key->ValueCount(), 2);
  EXPECT_TRUE(key->Delete("ADDED"));
  EXPECT_FALSE(key->Delete("added"));
  ASSERT_TRUE(key->Write("Second", "y") && key->Write("Empty", ""));
  EXPECT_TRUE(key->Read("Empty", &bytes, 16) && bytes.empty());
  EXPECT_TRUE(key->Delete("Empty"));
  ASSERT_TRUE(key->Commit());
  // One row per value; a new value joins its key as that key is spelt.
  EXPECT_EQ(Exec("SELECT root, key, name, CAST(data AS TEXT) FROM registry_values ORDER BY name"),
            std::string("HKEY_USERS|") + kStoredKey + "|Second|y|HKEY_USERS|" + kStoredKey + "|Value|new|");
  EXPECT_EQ(Open("software\\ACME\\units\\UserA", RegistryKey::Access::kRead)->ValueCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Tables, RegistryCaseTest, ::testing::Values(false, true),
                         [](const auto& param_info) { return std::string(param_info.param ? "Foreign" : "Own"); });

// A program the host starts must not inherit the store's files.
TEST_F(PlatformTest, RegistryFilesAreClosedOnExec) {
  const auto open_descriptors = [] {
    std::set<int> fds;
    DIR* dir = opendir("/proc/self/fd");
    while (const dirent* entry = readdir(dir)) fds.insert(std::atoi(entry->d_name));
    fds.erase(dirfd(dir));
    closedir(dir);
    return fds;
  };
  const std::set<int> before = open_descriptors();
  std::string error;
  auto key = RegistryKey::Open(data_ + "REGISTRY.DB", RegistryRoot::kUsers, "K", RegistryKey::Access::kWrite, &error);
  ASSERT_TRUE(key != nullptr && key->Write("V", "x")) << error;
  int opened = 0;
  for (const int fd : open_descriptors()) {
    if (before.count(fd) != 0) continue;
    ++opened;
    EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0) << "descriptor " << fd;
  }
  EXPECT_GT(opened, 0);
}

TEST(SharedFoldersTest, FollowXdgThenHomeElseNone) {
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  const struct { const char *xdg, *home, *expected; } cases[] = {
      {"/x/data", "/h", "/x/data"}, {"", "/h", "/h/.local/share"}, {nullptr, "", ""}, {nullptr, nullptr, ""}};
  for (const auto& c : cases) {
    c.xdg != nullptr ? setenv("XDG_DATA_HOME", c.xdg, 1) : unsetenv("XDG_DATA_HOME");
    c.home != nullptr ? setenv("HOME", c.home, 1) : unsetenv("HOME");
    EXPECT_EQ(CommonAppDataFolder(), c.expected);
  }
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace platform
}  // namespace units
