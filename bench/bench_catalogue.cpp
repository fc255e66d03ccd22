#include "bench_catalogue.h"

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "service/service.h"

namespace units {
namespace bench {

namespace {

std::unique_ptr<t_quantity> MakeQuantity(int number, int pairs_per_slot) {
  auto quantity = std::make_unique<t_quantity>();
  InitQuantity(quantity.get());
  quantity->wId = static_cast<uint16_t>(number + 1);
  const std::string name = "Quantity " + std::to_string(number);
  CopyText(quantity->szName, sizeof(quantity->szName), name.c_str());
  CopyText(quantity->szSymbol, sizeof(quantity->szSymbol), "Q");
  quantity->dwState = kQuantityEnabled;
  t_quantityunit& unit = quantity->aUnit[1];
  unit.dFactor = kBenchFactor;
  unit.dOffset = kBenchOffset;
  CopyText(unit.szText, sizeof(unit.szText), "\xC2\xB0" "F");
  unit.wState = kUnitDefined;
  quantity->dwUnit = 1;
  for (int s = 0; s < kBenchSlots; ++s) {
    t_subquantity& slot = quantity->aSubQuantity[s];
    slot.lSubQuan = s + 1;
    const std::string slot_name = name + " part " + std::to_string(s + 1);
    CopyText(slot.szName, sizeof(slot.szName), slot_name.c_str());
    CopyText(slot.szSymbol, sizeof(slot.szSymbol), "q");
    slot.wState = kSlotDefined | kSlotEnabled;
    slot.dwFlags = kFlagData;
    slot.wCount = static_cast<uint16_t>(pairs_per_slot);
    for (int p = 0; p < pairs_per_slot; ++p) {
      slot.awDevice[p] = static_cast<uint16_t>(p + 1);
      slot.awIndex[p] = static_cast<uint16_t>(s * 10 + p);
    }
  }
  return quantity;
}

}  // namespace

QuantityTable MakeBenchRecords(int count, int pairs_per_slot) {
  QuantityTable records;
  for (int i = 0; i < count; ++i) records.push_back(MakeQuantity(i, pairs_per_slot));
  return records;
}

std::string AttachBenchService(int count, int pairs_per_slot, int groups) {
  std::string pattern = (std::filesystem::temp_directory_path() / "units_bench_XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("cannot create a temporary module folder");
    std::exit(1);
  }
  const std::string folder = pattern + "/";
  std::filesystem::create_directories(folder + "Units");
  TheService().Attach(folder);
  StoredContents contents = TheService().ContentsCopy();
  contents.catalogue = MakeCatalogue(MakeBenchRecords(count, pairs_per_slot));
  auto table = std::make_shared<GroupTable>();
  std::vector<t_FilterEntry> entries(static_cast<size_t>(groups));
  for (t_FilterEntry& entry : entries) InitFilterEntry(&entry);
  table->Replace(std::move(entries));
  contents.groups = std::move(table);
  TheService().Commit(contents);
  return folder;
}

void DetachBenchService(const std::string& folder) {
  TheService().Detach();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace bench
}  // namespace units
