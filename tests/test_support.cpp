#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

#include "catalogue/select_list.h"
#include "groups/group_model.h"
#include "language.h"
#include "module/module_state.h"
#include "text/unit_format.h"

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

void InstallCatalogue(std::vector<std::unique_ptr<t_quantity>> records) { TheCatalogue().Replace(std::move(records)); }

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

void ModuleTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::ostringstream name;
  name << ::testing::TempDir() << "units_" << info->test_suite_name() << "_" << info->name() << "_" << getpid();
  std::filesystem::remove_all(name.str());
  std::filesystem::create_directories(name.str());
  folder_ = name.str() + "/";
  Module() = ModuleState();
  Module().data_folder = folder_;
  Module().log_folder = folder_;
  TheCatalogue().Clear();
  TheGroups().Clear();
  TheSelectList().Clear(true);
  SetTextMode(0);
  SetUnitFormat(0);
}

void ModuleTest::TearDown() {
  TheCatalogue().Clear();
  TheGroups().Clear();
  Module() = ModuleState();
  std::filesystem::remove_all(folder_);
}

}  // namespace testing
}  // namespace units
