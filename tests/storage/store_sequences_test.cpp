#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "groups/group_model.h"
#include "module/module_state.h"
#include "platform/registry.h"
#include "storage/byte_io.h"
#include "storage/fdf_file.h"
#include "storage/store_sequences.h"
#include "storage/udf_file.h"
#include "storage/udf_format.h"
#include "test_support.h"
#include "text/unit_format.h"
#include "units.h"

namespace units {
namespace {

using testing::Val;

using testing::MakeQuantity;

constexpr char kPath[] = "Software\\Plant\\Units\\";
constexpr char kUser[] = "Operator";

// Every value of the store, by root, key and name, with its type.
struct StoredValue {
  int type;
  std::string data;
};
using StoreDump = std::map<std::string, StoredValue>;

StoreDump DumpStore(const std::string& database) {
  StoreDump dump;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return dump;
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT root, key, name, type, data FROM registry_values", -1, &stmt, nullptr) ==
      SQLITE_OK) {
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      std::string id = std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) + "|" +
                       reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)) + "|" +
                       reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2));
      const char* data = static_cast<const char*>(sqlite3_column_blob(stmt, 4));
      dump[id] = {sqlite3_column_int(stmt, 3), std::string(data, sqlite3_column_bytes(stmt, 4))};
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return dump;
}

std::string U16(uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string I32(int32_t v) {
  std::string bytes;
  ByteWriter(&bytes).WriteI32(v);
  return bytes;
}

class StoreTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    database_ = folder_ + "REGISTRY.DB";
    setenv("UNITS_REGISTRY_DB", database_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("UNITS_REGISTRY_DB");
    unsetenv("UNITS_DEBUG_LOG");
    platform::SetRegistryWriteHookForTesting(nullptr);
    ModuleTest::TearDown();
  }

  // Installs `count` quantities with ids 1..count, one pair each.
  void InstallQuantities(int count) {
    QuantityTable table;
    for (int i = 1; i <= count; ++i) {
      auto quantity = MakeQuantity(static_cast<uint16_t>(i), ("Q" + std::to_string(i)).c_str(), "q");
      quantity->aSubQuantity[0].wState = kSlotDefined | kSlotEnabled;
      quantity->aSubQuantity[0].wCount = 1;
      quantity->aSubQuantity[0].awDevice[0] = static_cast<uint16_t>(i);
      table.push_back(std::move(quantity));
    }
    TheCatalogue().Replace(std::move(table));
  }

  // The working files as a user would have them before choosing a key.
  void WriteWorkingFiles(int quantities, std::vector<t_FilterEntry> groups, int32_t index) {
    InstallQuantities(quantities);
    TheGroups().Replace(std::move(groups));
    TheGroups().SetCurrentIndex(index);
    ASSERT_TRUE(SaveUdfFile("DEFAULT.UDF"));
    ASSERT_TRUE(SaveFdfFile("DEFAULT.FDF"));
    TheCatalogue().Clear();
    TheGroups().Clear();
  }

  std::string Id(const char* name, const char* root = "HKEY_LOCAL_MACHINE") {
    return std::string(root) + "|" + kPath + kUser + "|" + name;
  }

  std::string database_;
};

TEST_F(StoreTest, WithoutRegistryPathFilesLoadAndStoreStaysUntouched) {
  WriteWorkingFiles(2, {testing::MakeGroup("G")}, 1);
  LoadSequence(true);
  EXPECT_EQ(TheCatalogue().Count(), 2);
  EXPECT_EQ(TheGroups().Count(), 1);
  EXPECT_EQ(TheGroups().CurrentIndex(), 1);
  EXPECT_TRUE(SaveSequence());
  EXPECT_EQ(access(database_.c_str(), F_OK), -1) << "the store must not even be created";
}

TEST_F(StoreTest, FirstUseOfAnEmptyKeyCopiesTheFilesIntoIt) {
  SetUnitFormat(2);
  UnitSetTextMode(1);
  WriteWorkingFiles(3, {testing::MakeGroup("A"), testing::MakeGroup("B")}, 2);
  SetUnitFormat(0);  // the settings come from the file
  UnitSetTextMode(0);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 7);
  EXPECT_EQ(TheCatalogue().Count(), 3);
  EXPECT_EQ(Module().edit_mode, kEditFull);
  const StoreDump dump = DumpStore(database_);
  ASSERT_EQ(dump.size(), 4u + 3u + 2u + 2u);
  EXPECT_EQ(dump.at(Id("UnitFormat")).data, I32(2));
  EXPECT_EQ(dump.at(Id("UnitSymbolMode")).data, U16(1));
  EXPECT_EQ(dump.at(Id("UnitVersion")).data, U16(2));
  EXPECT_EQ(dump.at(Id("UnitCount")).data, I32(3));
  EXPECT_EQ(dump.at(Id("UnitFilterVersion")).data, U16(1));
  EXPECT_EQ(dump.at(Id("UnitFilterIndex")).data, I32(2));
  for (const auto& [id, value] : dump) EXPECT_EQ(value.type, 3) << id;
  // Records are exactly what the record writer makes.
  std::string expected;
  ByteWriter writer(&expected);
  WriteQuantityRecord(writer, *TheCatalogue().At(1));
  EXPECT_EQ(dump.at(Id("Unit001")).data, expected);
  EXPECT_EQ(dump.at(Id("Unit001")).data.size(), 1483u + 4u);
  EXPECT_EQ(dump.at(Id("UnitFilter001")).data.size(), 2306u);
  EXPECT_EQ(dump.at(Id("UnitFilter001")).data.substr(2, 2), std::string("B\0", 2));
}

TEST_F(StoreTest, DefaultPathsLieBelowUsersInAnyCase) {
  WriteWorkingFiles(1, {}, 0);
  UnitChangeUserInfo(const_cast<char*>(".default\\Software\\"), const_cast<char*>("u"), 1);
  EXPECT_EQ(Module().root, RegistryRoot::kUsers);
  const StoreDump dump = DumpStore(database_);
  EXPECT_EQ(dump.count("HKEY_USERS|.default\\Software\\u|UnitCount"), 1u);
  UnitChangeUserInfo(const_cast<char*>("Software\\.DEFAULT"), const_cast<char*>("u"), 1);
  EXPECT_EQ(Module().root, RegistryRoot::kLocalMachine);
}

TEST_F(StoreTest, KeyAndValueNamesIgnoreCase) {
  WriteWorkingFiles(2, {}, 0);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  TheCatalogue().Clear();
  std::string lower = kPath;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  UnitChangeUserInfo(const_cast<char*>(lower.c_str()), const_cast<char*>("OPERATOR"), 1);
  EXPECT_EQ(TheCatalogue().Count(), 2);
}

TEST_F(StoreTest, ShrinkingCatalogueKeepsOldValuesButCountRules) {
  WriteWorkingFiles(5, {}, 0);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  ASSERT_EQ(TheCatalogue().Count(), 5);
  InstallQuantities(3);
  ASSERT_TRUE(SaveSequence());
  const StoreDump dump = DumpStore(database_);
  EXPECT_EQ(dump.at(Id("UnitCount")).data, I32(3));
  EXPECT_EQ(dump.count(Id("Unit003")), 1u);
  EXPECT_EQ(dump.count(Id("Unit004")), 1u);
  TheCatalogue().Clear();
  LoadSequence(true);
  EXPECT_EQ(TheCatalogue().Count(), 3);
}

TEST_F(StoreTest, SavingWithoutGroupsKeepsTheStoredGroups) {
  WriteWorkingFiles(1, {testing::MakeGroup("A"), testing::MakeGroup("B")}, 1);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  TheGroups().Clear();
  ASSERT_TRUE(SaveSequence());
  LoadSequence(false);
  EXPECT_EQ(TheGroups().Count(), 2);
  EXPECT_EQ(TheGroups().CurrentIndex(), 1);
}

TEST_F(StoreTest, FewerGroupsReplaceAllStoredGroups) {
  WriteWorkingFiles(1, {testing::MakeGroup("A"), testing::MakeGroup("B"), testing::MakeGroup("C")}, 0);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  TheGroups().Replace({testing::MakeGroup("Z")});
  ASSERT_TRUE(SaveSequence());
  const StoreDump dump = DumpStore(database_);
  EXPECT_EQ(dump.count(Id("UnitFilter000")), 1u);
  EXPECT_EQ(dump.count(Id("UnitFilter001")), 0u);
  EXPECT_EQ(dump.count(Id("UnitFilter002")), 0u);
}

// Writes values straight into the store, as a damaged or foreign writer might.
void PutValue(const std::string& database, const std::string& key, const std::string& name, const std::string& data) {
  std::string error;
  auto handle = platform::RegistryKey::Open(database, RegistryRoot::kLocalMachine, key,
                                            platform::RegistryKey::Access::kWrite, &error);
  ASSERT_NE(handle, nullptr) << error;
  ASSERT_TRUE(handle->Write(name, data));
  ASSERT_TRUE(handle->Commit());
}

TEST_F(StoreTest, DamagedValuesLoadWhatIsSound) {
  WriteWorkingFiles(3, {testing::MakeGroup("A")}, 0);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  const std::string key = std::string(kPath) + kUser;
  PutValue(database_, key, "UnitCount", I32(2000000000));  // far more than stored
  PutValue(database_, key, "Unit001", std::string(6000, 'x'));  // longer than any record
  PutValue(database_, key, "UnitFilterIndex", I32(7));   // past the one group
  PutValue(database_, key, "UnitSymbolMode", std::string(1, '\x01'));  // wrong size: ignored
  TheCatalogue().Clear();
  SetTextMode(0);
  LoadSequence(true);
  ASSERT_EQ(TheCatalogue().Count(), 2);
  EXPECT_EQ(Val(TheCatalogue().At(0)->wId), 1);
  EXPECT_EQ(Val(TheCatalogue().At(1)->wId), 3);
  EXPECT_EQ(TheGroups().Count(), 1);
  EXPECT_EQ(TheGroups().CurrentIndex(), 0);
  EXPECT_EQ(TextMode(), 0);
}

TEST_F(StoreTest, ChangeUdfReadsTheFileOnlyForAnEmptyKey) {
  WriteWorkingFiles(2, {}, 0);
  ASSERT_EQ(std::rename((folder_ + "DEFAULT.UDF").c_str(), (folder_ + "Plant.udf").c_str()), 0);
  SetUnitFormat(0);
  EXPECT_TRUE(UnitChangeUDF(const_cast<char*>("Software\\Plant"), const_cast<char*>(kUser),
                            const_cast<char*>("Plant")));
  EXPECT_EQ(Module().registry_path, "Software\\Plant\\");
  EXPECT_EQ(TheCatalogue().Count(), 2);
  EXPECT_EQ(DumpStore(database_).count("HKEY_LOCAL_MACHINE|Software\\Plant\\Operator|Unit001"), 1u);

  // A key that holds quantities wins over the file.
  InstallQuantities(4);
  ASSERT_TRUE(SaveUdfFile(folder_ + "Other.udf"));
  EXPECT_TRUE(UnitChangeUDF(const_cast<char*>("Software\\Plant\\"), const_cast<char*>(kUser),
                            const_cast<char*>("Other")));
  EXPECT_EQ(Module().registry_path, "Software\\Plant\\");
  EXPECT_EQ(TheCatalogue().Count(), 2);
}

TEST_F(StoreTest, ChangeUdfDoesNotApplyTheFileSettings) {
  WriteWorkingFiles(1, {}, 0);
  SetUnitFormat(3);
  UnitSetTextMode(1);
  InstallQuantities(1);
  ASSERT_TRUE(SaveUdfFile("Plant"));
  SetUnitFormat(1);
  UnitSetTextMode(0);
  EXPECT_TRUE(UnitChangeUDF(const_cast<char*>("K"), nullptr, const_cast<char*>("Plant")));
  EXPECT_EQ(UnitFormat(), 1);
  EXPECT_EQ(TextMode(), 0);
  EXPECT_FALSE(UnitChangeUDF(const_cast<char*>("Empty"), nullptr, const_cast<char*>("Missing.udf")));
  EXPECT_FALSE(UnitChangeUDF(nullptr, nullptr, const_cast<char*>("Plant")));
  EXPECT_FALSE(UnitChangeUDF(const_cast<char*>("K"), nullptr, nullptr));
}

TEST_F(StoreTest, FileOnlyModeFallsBackToTheDefaultFilesAndSavesTheWorkingOnes) {
  WriteWorkingFiles(2, {testing::MakeGroup("A")}, 1);
  uint16_t on = 1;
  EXPECT_TRUE(UnitSetValue(101, &on, 2));
  EXPECT_EQ(TheCatalogue().Count(), 2) << "AppUnits.UDF is missing: DEFAULT.UDF serves";
  EXPECT_EQ(TheGroups().Count(), 1);
  EXPECT_EQ(access((folder_ + "AppUnits.UDF").c_str(), F_OK), -1);
  ASSERT_TRUE(SaveSequence());
  EXPECT_EQ(testing::ReadWholeFile(folder_ + "AppUnits.UDF"), testing::ReadWholeFile(folder_ + "DEFAULT.UDF"));
  EXPECT_EQ(testing::ReadWholeFile(folder_ + "AppFilter.FDF"), testing::ReadWholeFile(folder_ + "DEFAULT.FDF"));
  EXPECT_EQ(access(database_.c_str(), F_OK), -1);
}

TEST_F(StoreTest, FileOnlyModeWithNothingAnywhereStillReportsTrue) {
  uint16_t on = 1;
  EXPECT_TRUE(UnitSetValue(101, &on, 2));
  EXPECT_EQ(TheCatalogue().Count(), 0);
  uint16_t off = 0;
  EXPECT_TRUE(UnitSetValue(101, &off, 2));
}

TEST_F(StoreTest, DebugLinesOfTheSequences) {
  const std::string log = folder_ + "debug.log";
  setenv("UNITS_DEBUG_LOG", log.c_str(), 1);
  Module().from_file_only = 1;
  LoadSequence(true);
  SaveSequence();
  const std::string text = testing::ReadWholeFile(log);
  EXPECT_EQ(text.rfind("UNITS-ReadFromRegistry: g_wFromFileOnly\n", 0), 0u) << text;
  EXPECT_NE(text.find("UNITS-SaveToRegistryOrFile: g_wFromFileOnly\nUNITS-SaveUnitsToFile: Begin\n"),
            std::string::npos);
}

bool FailThirdRecord(const std::string& name) { return name != "Unit002"; }

TEST_F(StoreTest, FailedSaveLeavesThePreviousContentWhole) {
  WriteWorkingFiles(4, {testing::MakeGroup("A")}, 0);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  const StoreDump before = DumpStore(database_);
  InstallQuantities(6);
  TheGroups().Replace({testing::MakeGroup("X"), testing::MakeGroup("Y")});
  platform::SetRegistryWriteHookForTesting(FailThirdRecord);
  EXPECT_FALSE(SaveSequence());
  platform::SetRegistryWriteHookForTesting(nullptr);
  const StoreDump after = DumpStore(database_);
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [id, value] : before) EXPECT_EQ(after.at(id).data, value.data) << id;
}

bool KillAtThirdRecord(const std::string& name) {
  if (name == "Unit002") raise(SIGKILL);
  return true;
}

TEST_F(StoreTest, KilledSaveLeavesThePreviousContentWhole) {
  WriteWorkingFiles(4, {testing::MakeGroup("A")}, 0);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  const StoreDump before = DumpStore(database_);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstallQuantities(6);
    platform::SetRegistryWriteHookForTesting(KillAtThirdRecord);
    SaveSequence();
    _exit(0);  // not reached
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  const StoreDump after = DumpStore(database_);
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [id, value] : before) EXPECT_EQ(after.at(id).data, value.data) << id;
  TheCatalogue().Clear();
  LoadSequence(false);
  EXPECT_EQ(TheCatalogue().Count(), 4);
}

TEST_F(StoreTest, UnusableDatabaseKeepsTheLibraryWorkingFromMemory) {
  WriteWorkingFiles(2, {}, 0);
  testing::WriteWholeFile(database_, std::string(4096, 'J'));  // not a database
  const std::string log = folder_ + "debug.log";
  setenv("UNITS_DEBUG_LOG", log.c_str(), 1);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  EXPECT_EQ(TheCatalogue().Count(), 2);
  EXPECT_FALSE(SaveSequence());
  EXPECT_EQ(testing::ReadWholeFile(database_), std::string(4096, 'J'));
  EXPECT_NE(testing::ReadWholeFile(log).find("UNITS-SaveToRegistryOrFile: "), std::string::npos);
  double value = 0;
  EXPECT_TRUE(UnitGetCurrent(1, 2.0, value));
}

TEST_F(StoreTest, LockedDatabaseFailsTheSaveWithoutLoss) {
  WriteWorkingFiles(2, {}, 0);
  UnitChangeUserInfo(const_cast<char*>(kPath), const_cast<char*>(kUser), 1);
  const StoreDump before = DumpStore(database_);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(database_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  InstallQuantities(5);
  EXPECT_FALSE(SaveSequence());
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(DumpStore(database_).size(), before.size());
}

}  // namespace
}  // namespace units
