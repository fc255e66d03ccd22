// A Windows host of units.dll: linked by name through the import library,
// as hosts are, with the catalogue and groups files that the Linux build
// wrote lying in the DLL's data folder. It converts, stores into the real
// registry, compares the stored values with the Linux files byte for byte,
// and reloads a key whose values were damaged.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "units.h"

namespace {

constexpr char kUser[] = "Operator";
constexpr size_t kUdfHeaderSize = 12;    // marker, version, count, unit format, text mode
constexpr size_t kFdfHeaderSize = 10;    // marker, version, count
constexpr uint16_t kPressure = 5;        // shown in bar, based on Pa
constexpr uint16_t kAngle = 12;          // shown in °, based on rad

// A key of its own for each test, since CTest runs them side by side in
// one Wine prefix.
std::string KeyPath() {
  return std::string("Software\\UnitsDllHostTest\\") +
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::string StoredKey() { return KeyPath() + "\\" + kUser; }

HMODULE UnitsModule() { return GetModuleHandleA("units.dll"); }

std::string DataFile(const char* name) {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(UnitsModule(), path, MAX_PATH);
  std::string folder(path, n);
  folder.erase(folder.find_last_of("\\/") + 1);
  std::ifstream in(folder + "Units\\" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One value of the stored key, with its type; empty when missing.
std::string StoredValue(const std::string& name, DWORD* type = nullptr) {
  HKEY key = nullptr;
  std::string bytes;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, StoredKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return bytes;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, type, nullptr, &size) == ERROR_SUCCESS) {
    bytes.resize(size);
    RegQueryValueExA(key, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(&bytes[0]), &size);
  }
  RegCloseKey(key);
  return bytes;
}

std::string ValueName(const char* prefix, int number) {
  char name[32];
  std::snprintf(name, sizeof(name), "%s%03d", prefix, number);
  return name;
}

// The values "<prefix>000".. concatenated in order, up to the first that is
// missing; `count` receives how many there were.
std::string StoredSequence(const char* prefix, int* count) {
  std::string all;
  for (*count = 0;; ++*count) {
    const std::string bytes = StoredValue(ValueName(prefix, *count));
    if (bytes.empty()) break;
    all += bytes;
  }
  return all;
}

void SetStoredValue(const char* name, DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, StoredKey().c_str(), 0, KEY_WRITE, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

class DllHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, KeyPath().c_str());
    udf_ = DataFile("DEFAULT.UDF");
    fdf_ = DataFile("DEFAULT.FDF");
    ASSERT_GT(udf_.size(), kUdfHeaderSize) << "no catalogue file beside units.dll";
    ASSERT_GT(fdf_.size(), kFdfHeaderSize + 4) << "no groups file beside units.dll";
  }
  void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, KeyPath().c_str()); }

  bool ChooseKey(const char* file) {
    std::string path = KeyPath();
    std::string user = kUser;
    std::string name = file;
    return UnitChangeUDF(&path[0], &user[0], &name[0]);
  }

  std::string udf_;
  std::string fdf_;
};

TEST_F(DllHostTest, TheTwoTextFunctionsAreFoundUnderTheirPlainNames) {
  using GetName = const char*(UNITS_CALL*)(unsigned short, short, unsigned long, unsigned short, unsigned short);
  using GetSymbol = const char*(UNITS_CALL*)(unsigned short, short, unsigned long, unsigned short, unsigned short,
                                             bool);
  HMODULE loaded = LoadLibraryA("units.dll");
  ASSERT_EQ(loaded, UnitsModule());
  auto get_name = reinterpret_cast<GetName>(reinterpret_cast<void*>(GetProcAddress(loaded, "UnitGetName")));
  auto get_symbol = reinterpret_cast<GetSymbol>(reinterpret_cast<void*>(GetProcAddress(loaded, "UnitGetSymbol")));
  ASSERT_NE(get_name, nullptr);
  ASSERT_NE(get_symbol, nullptr);
  EXPECT_STREQ(get_name(kPressure, 0, 0, 0, 0), "Pressure");
  EXPECT_STREQ(get_symbol(kPressure, 0, 0, 0, 0, true), "p");
  FreeLibrary(loaded);
}

TEST_F(DllHostTest, ConvertsWithTheCatalogueTheLinuxBuildWrote) {
  double bar = 0;
  ASSERT_TRUE(UnitGetCurrent(kPressure, 101325.0, bar));
  EXPECT_DOUBLE_EQ(bar, 1.01325);
  std::vector<double> values = {0.0, 100000.0, -250000.0};
  ASSERT_TRUE(UnitGetCurrent(kPressure, values.data(), values.data(), static_cast<unsigned long>(values.size())));
  EXPECT_EQ(values, (std::vector<double>{0.0, 1.0, -2.5}));
  double degrees = 0;
  ASSERT_TRUE(UnitGetCurrent(kAngle, 3.14159265358979323846, degrees));
  EXPECT_NEAR(degrees, 180.0, 1e-4);  // the stored factors are floats
  EXPECT_FALSE(UnitGetCurrent(9999, 1.0, degrees));
  EXPECT_STREQ(UnitGetUnitText(kPressure), "bar");
}

// What the DLL stores is what the Linux build wrote: the records of the file
// in the key's "Unit" values and its groups in the "UnitFilter" values.
TEST_F(DllHostTest, StoresTheLinuxFilesRecordsByteForByteInTheRegistry) {
  ASSERT_TRUE(ChooseKey("DEFAULT"));
  int records = 0;
  EXPECT_EQ(StoredSequence("Unit", &records), udf_.substr(kUdfHeaderSize));
  EXPECT_EQ(records, static_cast<unsigned char>(udf_[4]) | static_cast<unsigned char>(udf_[5]) << 8);
  int groups = 0;
  EXPECT_EQ(StoredSequence("UnitFilter", &groups),
            fdf_.substr(kFdfHeaderSize, fdf_.size() - kFdfHeaderSize - 4));
  EXPECT_GT(groups, 0);
}

// Values of a wrong type, a wrong size or a huge size are left out; the
// other quantities load, and nothing stored is rewritten.
TEST_F(DllHostTest, DamagedRegistryValuesAreLeftOutAndKept) {
  ASSERT_TRUE(ChooseKey("DEFAULT"));
  int records = 0;
  StoredSequence("Unit", &records);
  std::vector<std::string> intact;
  for (int i = 2; i < records; ++i) intact.push_back(StoredValue(ValueName("Unit", i)));
  const std::string huge(1 << 20, '\x7f');
  SetStoredValue("Unit000", REG_SZ, std::string("damaged", 8));
  SetStoredValue("Unit001", REG_BINARY, huge);
  SetStoredValue("UnitFilter000", REG_DWORD, std::string(4, '\0'));
  std::string path = KeyPath() + "\\";  // this call takes the separator as given
  std::string user = kUser;
  UnitChangeUserInfo(&path[0], &user[0], 0);

  // Exactly the two damaged records are left out: nothing was made of them.
  int count = 0;
  t_unitquantity* list = UnitGetAllQuantities(count);
  std::set<unsigned short> quantities;
  for (int i = 0; i < count; ++i) quantities.insert(list[i].wQuantity);
  UnitDeleteArray(list);
  EXPECT_EQ(quantities.size(), static_cast<size_t>(records - 2));
  double value = 0;
  EXPECT_FALSE(UnitGetCurrent(1, 1.0, value));  // time, the first record
  EXPECT_FALSE(UnitGetCurrent(2, 1.0, value));  // length, the second
  EXPECT_TRUE(UnitGetCurrent(kPressure, 100000.0, value));
  EXPECT_DOUBLE_EQ(value, 1.0);
  char entries[256];
  EXPECT_EQ(UnitGetFilterEntries(entries, sizeof(entries)), 1);  // "All quantities" alone

  DWORD type = 0;
  EXPECT_EQ(StoredValue("Unit000", &type), std::string("damaged", 8));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(StoredValue("Unit001"), huge);
  for (int i = 2; i < records; ++i) EXPECT_EQ(StoredValue(ValueName("Unit", i)), intact[i - 2]) << i;
}

}  // namespace
