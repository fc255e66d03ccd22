// Where the catalogue, groups and display settings are loaded from and saved
// to: a registry key, or in file-only mode the working files.
#include "platform/files.h"
#include "service_helpers.h"

namespace units {
namespace {

using platform::RegistryRoot;
using testing::FolderNames;
using testing::MakeGroup;
using testing::ReadWholeFile;
using testing::Text;

constexpr char kPath[] = "Software\\Plant\\";
constexpr char kUser[] = "Operator";
constexpr char kAbsent[] = "<absent>";

// Quantities 1..count, enabled, without defined slots.
QuantityTable Quantities(int count) {
  QuantityTable table;
  for (int i = 1; i <= count; ++i) table.push_back(testing::EnabledQuantity(static_cast<uint16_t>(i), "Q", "q"));
  return table;
}

// A small stored i32, little-endian.
std::string I32(char value) { return std::string{value, 0, 0, 0}; }

bool FailThirdRecord(const std::string& name) { return name != "Unit002"; }
bool FailLikeAFullDisk(const std::string&) { return false; }

class StorageTest : public testing::ServiceTest {
 protected:
  void WriteWorkingFiles(int quantities, const std::vector<t_FilterEntry>& groups = {}, int32_t index = 0,
                         int32_t format = kUnitFormatNotSet, uint16_t mode = kTextModeNotSet) {
    testing::WriteUdf(data_ + "DEFAULT.UDF", Quantities(quantities), format, mode);
    testing::WriteWholeFile(data_ + "DEFAULT.FDF", EncodeFdf(groups, index));
  }

  void ChooseKey(const char* path = kPath) { UnitChangeUserInfo(Text(path), Text(kUser), 7); }

  std::unique_ptr<platform::RegistryKey> Key(const std::string& path = kPath,
                                              RegistryRoot root = RegistryRoot::kLocalMachine) const {
    std::string error;
    return platform::RegistryKey::Open(platform::RegistryDatabasePath(data_), root, path + kUser,
                                       platform::RegistryKey::Access::kRead, &error);
  }

  // One value of the store, or kAbsent.
  std::string Stored(const std::string& name, const std::string& path = kPath,
                     RegistryRoot root = RegistryRoot::kLocalMachine) const {
    std::string bytes;
    auto key = Key(path, root);
    return key != nullptr && key->Read(name, &bytes, kMaxValueSize) ? bytes : kAbsent;
  }

  static void SwitchFileOnly(uint16_t on) { ASSERT_TRUE(UnitSetValue(101, &on, 2)); }
};

TEST_F(StorageTest, EmptyKeyIsFilledFromTheWorkingFilesAndThenServesAlone) {
  testing::WriteWholeFile(data_ + "UNITS.INI", "[Units]\nMode=AutoCreate\n");
  WriteWorkingFiles(3, {MakeGroup("A"), MakeGroup("B")}, 2, 2, 1);
  Attach();
  EXPECT_EQ(testing::CatalogueCount(), 3);
  ChooseKey();
  EXPECT_EQ(TheService().SettingsCopy().edit_mode, kEditFull);
  const auto key = Key();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ValueCount(), 4 + 3 + 2 + 2) << "settings, 3 quantities, 2 groups";
  EXPECT_EQ(Stored("UnitFormat"), I32(2));
  EXPECT_EQ(Stored("UnitSymbolMode"), std::string("\x01\x00", 2));
  EXPECT_EQ(Stored("UnitCount"), I32(3));
  EXPECT_EQ(Stored("Unit002").size(), kRecordBaseSize);
  EXPECT_EQ(Stored("UnitFilterIndex"), I32(2));
  EXPECT_EQ(Stored("UnitFilter001").size(), kGroupEntrySize);

  std::filesystem::remove(data_ + "DEFAULT.UDF");
  std::filesystem::remove(data_ + "DEFAULT.FDF");
  Attach();
  ChooseKey();
  EXPECT_EQ(testing::CatalogueCount(), 3);
  EXPECT_EQ(UnitGetFilterIndex(), 2);
  EXPECT_STREQ(UnitGetUnitTextFormat(0), "/ (");
  EXPECT_TRUE(UnitGetTextMode());
}

TEST_F(StorageTest, DefaultPathsLieBelowUsersInAnyCase) {
  WriteWorkingFiles(1);
  const std::pair<const char*, RegistryRoot> cases[] = {
      {".default\\Software\\", RegistryRoot::kUsers}, {".DEFAULT", RegistryRoot::kUsers},
      {"Software\\.DEFAULT\\", RegistryRoot::kLocalMachine}};
  for (const auto& [path, root] : cases) {
    ChooseKey(path);
    const RegistryRoot other = root == RegistryRoot::kUsers ? RegistryRoot::kLocalMachine : RegistryRoot::kUsers;
    EXPECT_EQ(Stored("UnitCount", path, root), I32(1)) << path;
    EXPECT_EQ(Stored("UnitCount", path, other), kAbsent) << path;
  }
}

TEST_F(StorageTest, SavingLeavesOldRecordsAndNeverEmptiesTheGroups) {
  WriteWorkingFiles(5, {MakeGroup("A"), MakeGroup("B"), MakeGroup("C")}, 1);
  ChooseKey();
  Install(Quantities(3), {MakeGroup("Z")}, 1);
  EXPECT_EQ(Stored("UnitCount"), I32(3));
  EXPECT_NE(Stored("Unit004"), kAbsent) << "left, but the count rules";
  EXPECT_EQ(Stored("UnitFilter001") + Stored("UnitFilter002"), std::string(kAbsent) + kAbsent);
  Install(Quantities(3));
  EXPECT_FALSE(UnitSetFilterIndex(1)) << "no groups in memory";
  std::filesystem::remove(data_ + "DEFAULT.FDF");
  Attach();
  ChooseKey();
  EXPECT_EQ(testing::CatalogueCount(), 3);
  EXPECT_EQ(UnitGetFilterIndex(), 1) << "Z is back";
}

TEST_F(StorageTest, ChangeUdfImportsAFileOnlyIntoAnEmptyKey) {
  testing::WriteUdf(data_ + "Plant.udf", Quantities(2), 3, 1);
  WriteWorkingFiles(5);  // never a fall-back here
  EXPECT_TRUE(UnitChangeUDF(Text("Software\\Plant"), Text(kUser), Text("Plant")));
  EXPECT_EQ(TheService().SettingsCopy().registry_path, kPath);
  EXPECT_EQ(Stored("UnitCount"), I32(2));
  EXPECT_TRUE(std::string(UnitGetUnitTextFormat(0)) == "in " && !UnitGetTextMode()) << "file settings not applied";
  testing::WriteUdf(data_ + "Other.udf", Quantities(4));
  EXPECT_TRUE(UnitChangeUDF(Text(kPath), Text(kUser), Text("Other")));
  EXPECT_EQ(TheService().SettingsCopy().registry_path, kPath) << "one backslash only";
  EXPECT_EQ(testing::CatalogueCount(), 2) << "a key holding quantities wins";
  EXPECT_FALSE(UnitChangeUDF(Text("Empty"), nullptr, Text("Missing.udf")));
  testing::WriteUdf(folder_ + "Outside.udf", Quantities(6));
  EXPECT_TRUE(UnitChangeUDF(Text("Outside"), nullptr, Text((folder_ + "Outside").c_str())));
  EXPECT_EQ(testing::CatalogueCount(), 6) << "a name with a directory is taken from there";
  EXPECT_FALSE(UnitChangeUDF(nullptr, nullptr, Text("Plant")) || UnitChangeUDF(Text("Empty"), nullptr, nullptr));
}

TEST_F(StorageTest, FileOnlyModeReadsAppUnitsOrFallsBackToTheDefault) {
  WriteWorkingFiles(1);
  const std::string seven_unset = EncodeUdf(testing::Table(testing::MakeQuantity(7)), -1, 0xFFFF);
  const std::string seven_set = EncodeUdf(testing::Table(testing::MakeQuantity(7)), 3, 0);
  // "-": no AppUnits.UDF. -1 and 0xFFFF leave a setting unset, and unit format 2 stays.
  struct Case { std::string app_units; unsigned short loaded; const char* prefix; };
  const Case cases[] = {{"-", 1, "/ ("}, {"", 1, "/ ("}, {EncodeUdf(QuantityTable(), -1, 0xFFFF), 1, "/ ("},
                        {seven_unset, 7, "/ ("}, {seven_set, 7, "["}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.app_units.size()) + " bytes");
    testing::SetUnitFormat(2);
    std::filesystem::remove(data_ + "AppUnits.UDF");
    if (c.app_units != "-") testing::WriteWholeFile(data_ + "AppUnits.UDF", c.app_units);
    SwitchFileOnly(1);
    EXPECT_EQ(testing::CatalogueCount(), 1);
    EXPECT_STRNE(UnitGetName(c.loaded, 0, 0, 0, 0), "(?)");
    EXPECT_STREQ(UnitGetUnitTextFormat(0), c.prefix);
    SwitchFileOnly(0);
    EXPECT_EQ(TheService().SettingsCopy().working_udf, "DEFAULT.UDF");
  }
}

TEST_F(StorageTest, FileOnlySavesReplaceTheAppFilesWholeOrNotAtAll) {
  WriteWorkingFiles(2, {MakeGroup("A")}, 1);
  SwitchFileOnly(1);
  EXPECT_EQ(UnitGetFilterIndex(), 1) << "AppFilter.FDF is missing: DEFAULT.FDF serves";
  ASSERT_TRUE(UnitAddDeviceIndex(1, 0, 0, 3, 0));
  const std::string saved = ReadWholeFile(data_ + "AppUnits.UDF");
  const std::vector<std::string> names = {"AppFilter.FDF", "AppUnits.UDF", "DEFAULT.FDF", "DEFAULT.UDF"};
  EXPECT_EQ(FolderNames(data_), names) << "no store either";
  platform::SetReplaceFileHookForTesting(&FailLikeAFullDisk);
  EXPECT_TRUE(UnitAddDeviceIndex(2, 0, 0, 3, 0));
  platform::SetReplaceFileHookForTesting(nullptr);
  EXPECT_EQ(ReadWholeFile(data_ + "AppUnits.UDF"), saved);
  EXPECT_EQ(FolderNames(data_), names) << "no temporary left behind";
  Attach();
  SwitchFileOnly(1);
  EXPECT_TRUE(UnitExistQuantity(1, 0, 0, 3, 0));
  EXPECT_FALSE(UnitExistQuantity(2, 0, 0, 3, 0));
  EXPECT_EQ(UnitGetFilterIndex(), 1);
}

TEST_F(StorageTest, FailedRegistrySaveKeepsTheStoredContent) {
  WriteWorkingFiles(4, {MakeGroup("A")});
  ChooseKey();
  const std::string first = Stored("Unit000");
  platform::SetRegistryWriteHookForTesting(&FailThirdRecord);
  EXPECT_TRUE(UnitAddDeviceIndex(1, 0, 0, 5, 0)) << "registered in memory although not saved";
  platform::SetRegistryWriteHookForTesting(nullptr);
  EXPECT_EQ(Stored("Unit000"), first) << "the changed record was written before the failure";
  Attach();
  ChooseKey();
  EXPECT_FALSE(UnitExistQuantity(1, 0, 0, 5, 0));
}

TEST_F(StorageTest, FilesAreFoundWhateverTheirCaseAndLargeOnesLoadBackWhole) {
  testing::WriteUdf(data_ + "default.udf", testing::Table(testing::MakeQuantity(9, "Nine", "n")));
  testing::WriteUdf(data_ + "appunits.udf", QuantityTable());  // no quantity: the default serves
  Attach();
  SwitchFileOnly(1);
  EXPECT_STREQ(UnitGetName(9, 0, 0, 0, 0), "Nine");
  QuantityTable records = Quantities(30);  // 3483 bytes each: fields straddle the reader's refills
  for (auto& quantity : records) {
    for (t_subquantity& slot : quantity->aSubQuantity) {
      slot.wCount = kMaxPairs;
      for (int p = 0; p < kMaxPairs; ++p) slot.awIndex[p] = static_cast<uint16_t>(quantity->wId * 100 + p);
    }
  }
  Install(std::move(records));
  EXPECT_EQ(FolderNames(data_), (std::vector<std::string>{"AppFilter.FDF", "appunits.udf", "default.udf"}))
      << "the save replaced the file it found";
  const std::shared_ptr<const Catalogue> saved = TheService().ContentsCopy().catalogue;
  Attach();
  SwitchFileOnly(1);
  const std::shared_ptr<const Catalogue> loaded = TheService().ContentsCopy().catalogue;
  ASSERT_EQ(loaded->Count(), 30);
  for (int32_t i = 0; i < 30; ++i) EXPECT_EQ(std::memcmp(&loaded->At(i), &saved->At(i), sizeof(t_quantity)), 0) << i;
}

}  // namespace
}  // namespace units
