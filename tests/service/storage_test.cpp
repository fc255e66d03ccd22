// Where the catalogue, groups and display settings are loaded from and saved
// to: a registry key, or in file-only mode the working files.
#include "platform/files.h"
#include "service_helpers.h"

namespace units {
namespace {

using namespace testing;  // the suites' own helpers
using platform::RegistryRoot;

constexpr char kPath[] = "Software\\Plant\\", kUser[] = "Operator", kAbsent[] = "<absent>";

QuantityTable Quantities(int count) {
  QuantityTable table;
  for (int i = 1; i <= count; ++i) table.push_back(EnabledQuantity(static_cast<uint16_t>(i), "Q", "q"));
  return table;
}

std::string I32(char value) { return std::string{value, 0, 0, 0}; }

class StorageTest : public ServiceTest {
 protected:
  void WriteWorkingFiles(int quantities, const std::vector<t_FilterEntry>& groups = {}, int32_t index = 0,
                         int32_t format = kUnitFormatNotSet, uint16_t mode = kTextModeNotSet) {
    WriteUdf(data_ + "DEFAULT.UDF", Quantities(quantities), format, mode);
    WriteWholeFile(data_ + "DEFAULT.FDF", EncodeFdf(groups, index));
  }

  void ChooseKey(const char* path = kPath) { UnitChangeUserInfo(Text(path), Text(kUser), 7); }

  std::string Stored(const std::string& name, const std::string& path = kPath,
                     RegistryRoot root = RegistryRoot::kLocalMachine) const {
    std::string bytes, error;
    const auto key = platform::RegistryKey::Open(platform::RegistryDatabasePath(data_), root, path + kUser,
                                                 platform::RegistryKey::Access::kRead, &error);
    return key != nullptr && key->Read(name, &bytes, kMaxValueSize) ? bytes : kAbsent;
  }

  static void SwitchFileOnly(uint16_t on) { ASSERT_TRUE(UnitSetValue(101, &on, 2)); }
};

TEST_F(StorageTest, EmptyKeyIsFilledFromTheWorkingFilesAndThenServesAlone) {
  WriteWholeFile(data_ + "UNITS.INI", "[Units]\nMode=AutoCreate\n");
  WriteWorkingFiles(3, {MakeGroup("A"), MakeGroup("B")}, 2, 2, 1);
  Attach();
  EXPECT_EQ(CatalogueCount(), 3);
  ChooseKey();
  EXPECT_EQ(TheService().SettingsCopy().edit_mode, kEditFull);
  EXPECT_EQ(Stored("Unit003") + Stored("UnitFilter002"), std::string(kAbsent) + kAbsent) << "nothing more";
  EXPECT_EQ(Stored("UnitFormat") + Stored("UnitSymbolMode") + Stored("UnitCount") + Stored("UnitFilterIndex"),
            I32(2) + std::string("\x01\x00", 2) + I32(3) + I32(2));
  EXPECT_EQ(Stored("Unit002").size() + Stored("UnitFilter001").size(), kRecordBaseSize + kGroupEntrySize);
  for (const char* name : {"DEFAULT.UDF", "DEFAULT.FDF"}) std::filesystem::remove(data_ + name);
  Attach();
  ChooseKey();
  EXPECT_TRUE(CatalogueCount() == 3 && UnitGetFilterIndex() == 2 && UnitGetTextMode());
  EXPECT_STREQ(UnitGetUnitTextFormat(0), "/ (");
}

TEST_F(StorageTest, DefaultPathsLieBelowUsersInAnyCase) {
  WriteWorkingFiles(1);
  const std::pair<const char*, RegistryRoot> cases[] = {
      {".default\\Software\\", RegistryRoot::kUsers}, {".DEFAULT", RegistryRoot::kUsers},
      {"Software\\.DEFAULT\\", RegistryRoot::kLocalMachine}};
  for (const auto& [path, root] : cases) {
    ChooseKey(path);
    const RegistryRoot other = root == RegistryRoot::kUsers ? RegistryRoot::kLocalMachine : RegistryRoot::kUsers;
    EXPECT_EQ(Stored("UnitCount", path, root) + Stored("UnitCount", path, other), I32(1) + kAbsent) << path;
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
  EXPECT_EQ(CatalogueCount(), 3);
  EXPECT_EQ(UnitGetFilterIndex(), 1) << "Z is back";
}

TEST_F(StorageTest, ChangeUdfImportsAFileOnlyIntoAnEmptyKey) {
  WriteUdf(data_ + "Plant.udf", Quantities(2), 3, 1);
  WriteWorkingFiles(5);  // never a fall-back here
  EXPECT_TRUE(UnitChangeUDF(Text("Software\\Plant"), Text(kUser), Text("Plant")));
  EXPECT_EQ(TheService().SettingsCopy().registry_path, kPath);
  EXPECT_EQ(Stored("UnitCount"), I32(2));
  EXPECT_TRUE(std::string(UnitGetUnitTextFormat(0)) == "in " && !UnitGetTextMode()) << "file settings not applied";
  WriteUdf(data_ + "Other.udf", Quantities(4));
  EXPECT_TRUE(UnitChangeUDF(Text(kPath), Text(kUser), Text("Other")));
  EXPECT_EQ(TheService().SettingsCopy().registry_path, kPath) << "one backslash only";
  EXPECT_EQ(CatalogueCount(), 2) << "a key holding quantities wins";
  EXPECT_FALSE(UnitChangeUDF(Text("Empty"), nullptr, Text("Missing.udf")));
  WriteUdf(folder_ + "Outside.udf", Quantities(6));
  EXPECT_TRUE(UnitChangeUDF(Text("Outside"), nullptr, Text((folder_ + "Outside").c_str())));
  EXPECT_EQ(CatalogueCount(), 6) << "a name with a directory is taken from there";
  EXPECT_FALSE(UnitChangeUDF(nullptr, nullptr, Text("Plant")) || UnitChangeUDF(Text("Empty"), nullptr, nullptr));
}

// File-only mode loads AppUnits.UDF, or the default when that holds no quantity, whatever the case of their
// names; settings stay where the files leave them unset. Saves replace the file they found, whole or not at
// all. 1483 bytes a record: fields straddle the file reader's refills.
TEST_F(StorageTest, FileOnlySavesReplaceTheAppFilesWholeOrNotAtAll) {
  WriteUdf(data_ + "default.udf", Quantities(2));
  WriteWholeFile(data_ + "DEFAULT.FDF", EncodeFdf({MakeGroup("A")}, 1));
  WriteUdf(data_ + "appunits.udf", QuantityTable());
  Attach();
  SetUnitFormat(3);
  SwitchFileOnly(1);
  EXPECT_EQ(TheService().ContentsCopy().unit_format, 3);
  EXPECT_EQ(UnitGetFilterIndex(), 1) << "AppFilter.FDF is missing: DEFAULT.FDF serves";
  ASSERT_TRUE(UnitAddDeviceIndex(1, 0, 0, 3, 0));
  const std::string saved = ReadWholeFile(data_ + "appunits.udf");
  const std::string names = "AppFilter.FDF|DEFAULT.FDF|appunits.udf|default.udf|";
  EXPECT_EQ(FolderNames(data_), names) << "no store either";
  platform::SetReplaceFileHookForTesting([](const std::string&) { return false; });  // like a full disk
  EXPECT_TRUE(UnitAddDeviceIndex(2, 0, 0, 3, 0));
  platform::SetReplaceFileHookForTesting(nullptr);
  EXPECT_EQ(ReadWholeFile(data_ + "appunits.udf"), saved);
  EXPECT_EQ(FolderNames(data_), names) << "no temporary left behind";
  Attach();
  SwitchFileOnly(1);
  EXPECT_TRUE(UnitExistQuantity(1, 0, 0, 3, 0) && !UnitExistQuantity(2, 0, 0, 3, 0));
  EXPECT_EQ(UnitGetFilterIndex(), 1);
  Install(Quantities(40));
  const std::string large = EncodeUdf(*TheService().ContentsCopy().catalogue, 0, 0);
  Attach();
  SwitchFileOnly(1);
  EXPECT_EQ(EncodeUdf(*TheService().ContentsCopy().catalogue, 0, 0), large);
  SwitchFileOnly(0);
  EXPECT_EQ(TheService().SettingsCopy().working_udf, "DEFAULT.UDF");
}

TEST_F(StorageTest, FailedRegistrySaveKeepsTheStoredContent) {
  WriteWorkingFiles(4, {MakeGroup("A")});
  ChooseKey();
  const std::string first = Stored("Unit000");
  platform::SetRegistryWriteHookForTesting([](const std::string& name) { return name != "Unit002"; });
  EXPECT_TRUE(UnitAddDeviceIndex(1, 0, 0, 5, 0)) << "registered in memory although not saved";
  platform::SetRegistryWriteHookForTesting(nullptr);
  EXPECT_EQ(Stored("Unit000"), first) << "the changed record was written before the failure";
  Attach();
  ChooseKey();
  EXPECT_FALSE(UnitExistQuantity(1, 0, 0, 5, 0));
}

// The unit selection's commit: the choice is saved; a failed save is a false
// result although the choice holds in memory.
TEST_F(StorageTest, ChosenUnitIsSavedAndAFailedSaveIsReported) {
  WriteWorkingFiles(2);
  ChooseKey();
  EXPECT_FALSE(TheService().SetCurrentUnit(9, 1));
  const auto current_unit = [] { return uint32_t{TheService().ContentsCopy().catalogue->Find(2)->dwUnit}; };
  platform::SetRegistryWriteHookForTesting([](const std::string&) { return false; });
  EXPECT_FALSE(TheService().SetCurrentUnit(2, 3));
  platform::SetRegistryWriteHookForTesting(nullptr);
  EXPECT_EQ(current_unit(), 3u);
  EXPECT_TRUE(TheService().SetCurrentUnit(2, 4));
  Attach();
  ChooseKey();
  EXPECT_EQ(current_unit(), 4u);
}

}  // namespace
}  // namespace units
