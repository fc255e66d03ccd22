#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "groups/group_model.h"
#include "platform/files.h"
#include "storage/fdf_file.h"
#include "storage/fdf_format.h"
#include "storage/file_names.h"
#include "stored_bytes.h"
#include "save_faults.h"
#include "test_support.h"

namespace units {
namespace {

using testing::Bytes;
using testing::ConditionImage;
using testing::FdfHeader;
using testing::GroupEntryImage;
using testing::ReadWholeFile;
using testing::SameBytes;
using testing::Val;
using testing::WriteWholeFile;

using testing::FailLikeAFullDisk;
using testing::g_temporary_bytes;
using testing::g_temporary_path;
using testing::ScopedDebugLog;
using testing::ScopedReplaceHook;

t_FilterEntry Group(const char* name, int32_t count) {
  t_FilterEntry entry;
  InitFilterEntry(&entry);
  std::strcpy(entry.szName, name);
  entry.lCount = count;
  return entry;
}

class FdfFileTest : public testing::ModuleTest {
 protected:
  std::string Path(const std::string& name) const { return folder_ + name; }

  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Two groups and the second one current, as a host would leave them.
  static void InstallTwoGroups() {
    TheGroups().Replace({Group("first", 1), Group("second", 0)});
    ASSERT_TRUE(TheGroups().SetCurrentIndex(2));
  }
};

std::string TwoEntries() {
  return GroupEntryImage("Temperatures", 2, {{100, -1, 0, 0, 0, kTestQuantity, 0}, {101, 2, 4, 0, 0, 0x07, 5}}) +
         GroupEntryImage("Device 3", 1, {{0, -1, 0, 3, 0, kTestDevice, 0}});
}

// ---------------------------------------------------------------- loading

TEST_F(FdfFileTest, LoadReadsAHandBuiltFileAndTakesTheStoredIndex) {
  WriteWholeFile(Path("GROUPS.fdf"), FdfHeader(2) + TwoEntries() + Bytes().I32(2).str());
  EXPECT_TRUE(LoadFdfFile("GROUPS"));
  ASSERT_EQ(TheGroups().Count(), 2);
  const t_FilterEntry& first = TheGroups().Entries()[0];
  EXPECT_STREQ(first.szName, "Temperatures");
  EXPECT_EQ(Val(first.lCount), 2);
  EXPECT_EQ(Val(first.aCondition[1].wQuantity), 101);
  EXPECT_EQ(Val(first.aCondition[1].dwFlagMask), 5u);
  EXPECT_EQ(Val(TheGroups().Entries()[1].aCondition[0].wDevice), 3);
  EXPECT_EQ(TheGroups().CurrentIndex(), 2);
}

TEST_F(FdfFileTest, OldFileGivesItsEntriesAndTrailingIndex) {
  WriteWholeFile(Path("OLD.fdf"), Bytes().I32(2).Raw(TwoEntries()).I32(1));
  EXPECT_TRUE(LoadFdfFile("OLD"));
  EXPECT_EQ(TheGroups().Count(), 2);
  EXPECT_STREQ(TheGroups().Entries()[1].szName, "Device 3");
  EXPECT_EQ(TheGroups().CurrentIndex(), 1);
}

TEST_F(FdfFileTest, StoredIndexOutsideTheGroupsGivesAllQuantities) {
  for (int32_t stored : {3, -1, INT_MIN, INT_MAX, 0}) {
    InstallTwoGroups();
    WriteWholeFile(Path("INDEX.fdf"), FdfHeader(2) + TwoEntries() + Bytes().I32(stored).str());
    EXPECT_TRUE(LoadFdfFile("INDEX"));
    EXPECT_EQ(TheGroups().Count(), 2);
    EXPECT_EQ(TheGroups().CurrentIndex(), 0) << "stored index " << stored;
  }
}

TEST_F(FdfFileTest, MissingTrailingIndexGivesAllQuantities) {
  InstallTwoGroups();
  WriteWholeFile(Path("NOINDEX.fdf"), Bytes().I32(2).Raw(TwoEntries()));
  EXPECT_TRUE(LoadFdfFile("NOINDEX"));
  EXPECT_EQ(TheGroups().Count(), 2);
  EXPECT_EQ(TheGroups().CurrentIndex(), 0);
}

TEST_F(FdfFileTest, MissingFileEmptiesTheGroupTable) {
  InstallTwoGroups();
  EXPECT_FALSE(LoadFdfFile("NOWHERE"));
  EXPECT_EQ(TheGroups().Count(), 0);
  EXPECT_EQ(TheGroups().CurrentIndex(), 0);
  EXPECT_EQ(TheGroups().CurrentGroup(), nullptr);
}

TEST_F(FdfFileTest, FileWithoutGroupsLoadsAsNoGroupsAndFails) {
  const std::string cases[] = {"", FdfHeader(0) + Bytes().I32(0).str(), FdfHeader(-3) + Bytes().I32(1).str(),
                               FdfHeader(4) /* count without entries */, Bytes().I32(0).I32(1).str()};
  for (const std::string& bytes : cases) {
    InstallTwoGroups();
    WriteWholeFile(Path("NONE.fdf"), bytes);
    EXPECT_FALSE(LoadFdfFile("NONE")) << bytes.size() << " bytes";
    EXPECT_EQ(TheGroups().Count(), 0);
    EXPECT_EQ(TheGroups().CurrentIndex(), 0);
  }
}

TEST_F(FdfFileTest, HugeCountInATwentyByteFileGivesOneDamagedGroupAtMost) {
  WriteWholeFile(Path("HUGE.fdf"), FdfHeader(INT_MAX) + Bytes().Fill(10, '\0').str());
  EXPECT_TRUE(LoadFdfFile("HUGE"));
  EXPECT_EQ(TheGroups().Count(), 1);
  EXPECT_EQ(TheGroups().CurrentIndex(), 0);
}

// ---------------------------------------------------------------- saving

TEST_F(FdfFileTest, SaveWithoutGroupsWritesFourteenBytes) {
  ASSERT_TRUE(SaveFdfFile("EMPTY"));
  const std::string bytes = ReadWholeFile(Path("EMPTY.fdf"));
  EXPECT_EQ(bytes, Bytes().I32(-1).U16(1).I32(0).I32(0).str());
  EXPECT_FALSE(LoadFdfFile("EMPTY"));
  EXPECT_EQ(TheGroups().Count(), 0);
}

TEST_F(FdfFileTest, SaveWritesEntriesInTableOrderAndTheCurrentIndex) {
  InstallTwoGroups();
  ASSERT_TRUE(SaveFdfFile("ORDER"));
  EXPECT_EQ(ReadWholeFile(Path("ORDER.fdf")), FdfHeader(2) + GroupEntryImage("first", 1, {}) +
                                                  GroupEntryImage("second", 0, {}) + Bytes().I32(2).str());
}

TEST_F(FdfFileTest, SavedFileLoadsBackWithEveryConditionAndTheIndex) {
  std::vector<t_FilterEntry> groups;
  for (int g = 0; g < 3; ++g) {
    t_FilterEntry entry = Group(("group " + std::to_string(g)).c_str(), g * 40);
    // All hundred conditions hold data, also those beyond lCount.
    for (int c = 0; c < kMaxConditions; ++c) {
      t_FilterCondition& condition = entry.aCondition[c];
      condition.wQuantity = static_cast<uint16_t>(g * 100 + c);
      condition.lSubQuan = c - 50;
      condition.dwFlagValue = 0x4u << (c % 8);
      condition.wDevice = static_cast<uint16_t>(c);
      condition.wIndex = static_cast<uint16_t>(65535 - c);
      condition.wTests = static_cast<uint16_t>(c % 32);
      condition.dwFlagMask = 0xFFFFFFFFu - static_cast<uint32_t>(c);
    }
    groups.push_back(entry);
  }
  TheGroups().Replace(groups);
  ASSERT_TRUE(TheGroups().SetCurrentIndex(3));
  ASSERT_TRUE(SaveFdfFile("ROUND"));
  EXPECT_EQ(ReadWholeFile(Path("ROUND.fdf")).size(), 14u + 3 * 2306);

  TheGroups().Clear();
  ASSERT_TRUE(LoadFdfFile("ROUND"));
  ASSERT_EQ(TheGroups().Count(), 3);
  for (size_t g = 0; g < groups.size(); ++g) EXPECT_TRUE(SameBytes(TheGroups().Entries()[g], groups[g])) << g;
  EXPECT_EQ(TheGroups().CurrentIndex(), 3);
}

TEST_F(FdfFileTest, FailedSaveLeavesThePreviousFileAndNoTemporary) {
  const std::string previous = FdfHeader(2) + TwoEntries() + Bytes().I32(1).str();
  WriteWholeFile(Path("KEEP.fdf"), previous);
  TheGroups().Replace({Group("replacement", 0)});
  g_temporary_path.clear();
  g_temporary_bytes.clear();
  {
    ScopedReplaceHook full_disk(&FailLikeAFullDisk);
    EXPECT_FALSE(SaveFdfFile("KEEP"));
  }
  EXPECT_EQ(ReadWholeFile(Path("KEEP.fdf")), previous);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"KEEP.fdf"});
  EXPECT_EQ(std::filesystem::path(g_temporary_path).parent_path(), std::filesystem::path(Path("KEEP.fdf")).parent_path());
  EXPECT_EQ(g_temporary_bytes.size(), 14u + 2306);
}

TEST_F(FdfFileTest, SaveWritesBeginPathAndEndLinesToTheDebugChannel) {
  const std::string log = Path("debug.log");
  {
    ScopedDebugLog channel(log);
    ASSERT_TRUE(SaveFdfFile("LOGGED"));
  }
  EXPECT_EQ(ReadWholeFile(log),
            "UNITS-SaveFilterToFile: Begin\n" + Path("LOGGED.fdf") + "\nUNITS-SaveFilterToFile: Ende\n");
  EXPECT_EQ(std::getenv("UNITS_DEBUG_LOG"), nullptr);
}

// ---------------------------------------------------------------- names

TEST_F(FdfFileTest, BareNameLiesInTheDataFolderWithTheDefaultExtension) {
  EXPECT_EQ(ResolveStoreFileName("GROUPS", ".fdf"), folder_ + "GROUPS.fdf");
  EXPECT_EQ(ResolveStoreFileName("GROUPS.old", ".fdf"), folder_ + "GROUPS.old");
  ASSERT_TRUE(SaveFdfFile("BARE"));
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"BARE.fdf"});
}

TEST_F(FdfFileTest, PathWithADirectoryIsUsedUnchanged) {
  EXPECT_EQ(ResolveStoreFileName(folder_ + "sub/GROUPS", ".fdf"), folder_ + "sub/GROUPS");
  std::filesystem::create_directory(Path("sub"));
  InstallTwoGroups();
  ASSERT_TRUE(SaveFdfFile(Path("sub/GROUPS")));
  EXPECT_TRUE(std::filesystem::exists(Path("sub/GROUPS")));
  EXPECT_FALSE(std::filesystem::exists(Path("sub/GROUPS.fdf")));
  WriteWholeFile(Path("sub/GROUPS.fdf"), FdfHeader(1) + GroupEntryImage("wrong", 0, {}) + Bytes().I32(1).str());
  TheGroups().Clear();
  ASSERT_TRUE(LoadFdfFile(Path("sub/GROUPS")));
  ASSERT_EQ(TheGroups().Count(), 2);
  EXPECT_STREQ(TheGroups().Entries()[0].szName, "first");
}

}  // namespace
}  // namespace units
