#include "test_support.h"

#include <unistd.h>
#if defined(_WIN32)
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "language.h"
#include "service/service.h"

namespace units {
namespace testing {

std::unique_ptr<t_quantity> MakeQuantity(uint16_t id, const char* name, const char* symbol) {
  auto quantity = std::make_unique<t_quantity>();
  InitQuantity(quantity.get());
  quantity->wId = id;
  CopyText(quantity->szName, sizeof(quantity->szName), name);
  CopyText(quantity->szSymbol, sizeof(quantity->szSymbol), symbol);
  return quantity;
}

void DefineUnit(t_quantity* quantity, int slot, const char* text, double factor, double offset) {
  t_quantityunit& unit = quantity->aUnit[slot];
  unit.dFactor = factor;
  unit.dOffset = offset;
  CopyText(unit.szText, sizeof(unit.szText), text);
  unit.wState = kUnitDefined;
}

t_subquantity& DefineSlot(t_quantity* quantity, int slot, int32_t number, uint32_t flags, const char* name,
                          const char* symbol) {
  t_subquantity& sub = quantity->aSubQuantity[slot];
  sub.lSubQuan = number;
  sub.dwFlags = flags;
  sub.wState = kSlotDefined | kSlotEnabled;
  CopyText(sub.szName, sizeof(sub.szName), name);
  CopyText(sub.szSymbol, sizeof(sub.szSymbol), symbol);
  return sub;
}

t_FilterEntry MakeGroup(const char* name, const std::vector<t_FilterCondition>& conditions) {
  t_FilterEntry entry;
  InitFilterEntry(&entry);
  CopyText(entry.szName, sizeof(entry.szName), name);
  entry.lCount = static_cast<int32_t>(conditions.size());
  for (size_t i = 0; i < conditions.size(); ++i) entry.aCondition[i] = conditions[i];
  return entry;
}

t_FilterCondition MakeCondition(uint16_t tests) {
  t_FilterCondition condition;
  InitCondition(&condition);
  condition.wTests = tests;
  return condition;
}

ScopedTranslation::ScopedTranslation(const char* key, const char* text) : key_(key) { LangSetText(key, text); }
ScopedTranslation::~ScopedTranslation() { LangSetText(key_.c_str(), nullptr); }

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempFolderTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::ostringstream name;
  name << "units_" << info->test_suite_name() << "_" << info->name() << "_" << getpid();
  std::string leaf = name.str();
  // Parameterised names carry separators; the temporary folder keeps its own.
  for (char& c : leaf) {
    if (c == '\\' || c == '/') c = '_';
  }
  const std::string folder = ::testing::TempDir() + leaf;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder + "/Units");
  folder_ = folder + "/";
  data_ = folder_ + "Units/";
}

void TempFolderTest::TearDown() { std::filesystem::remove_all(folder_); }

#if defined(_WIN32)
// The registry outlives a test: each starts without the keys the suites use.
static void DeleteTestKeys() {
  for (const char* key : {"Software\\Plant", "Software\\Guard", "Software\\Info", "Software\\.DEFAULT"})
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
  for (const char* key : {".DEFAULT\\Software\\Operator", ".DEFAULTOperator"}) RegDeleteTreeA(HKEY_USERS, key);
}
#else
static void DeleteTestKeys() {}
#endif

void ServiceTest::SetUp() {
  TempFolderTest::SetUp();
  DeleteTestKeys();
  Attach();
}

void ServiceTest::TearDown() {
  TheService().Detach();
  TempFolderTest::TearDown();
}

void ServiceTest::Attach() { TheService().Attach(folder_); }

void ServiceTest::Install(QuantityTable records, std::vector<t_FilterEntry> groups, int32_t group_index) {
  StoredContents contents = TheService().ContentsCopy();
  contents.catalogue = MakeCatalogue(std::move(records));
  auto table = std::make_shared<GroupTable>();
  table->Replace(std::move(groups));
  table->SetCurrentIndex(group_index);
  contents.groups = std::move(table);
  ASSERT_TRUE(TheService().Commit(contents));
}

}  // namespace testing
}  // namespace units
