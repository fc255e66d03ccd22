// Helpers of the service suites: catalogues as a host's data folder holds
// them, enumeration rows, and the exports' list results released as hosts must.
#ifndef UNITS_TESTS_SERVICE_SERVICE_HELPERS_H_
#define UNITS_TESTS_SERVICE_SERVICE_HELPERS_H_

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/fdf_format.h"
#include "model/udf_format.h"
#include "platform/registry.h"
#include "service/service.h"
#include "service/settings.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace testing {

// The exports take `char*` for texts they only read.
inline char* Text(const char* text) { return const_cast<char*>(text); }

template <typename... Records>
QuantityTable Table(Records... records) {
  QuantityTable table;
  (table.push_back(std::move(records)), ...);
  return table;
}

inline std::unique_ptr<t_quantity> EnabledQuantity(uint16_t id, const char* name, const char* symbol) {
  auto quantity = MakeQuantity(id, name, symbol);
  quantity->dwState = kQuantityEnabled;
  return quantity;
}

inline void AddPairs(t_subquantity& slot, std::initializer_list<std::pair<uint16_t, uint16_t>> pairs) {
  for (const auto& [device, index] : pairs) slot.awDevice[slot.wCount] = device, slot.awIndex[slot.wCount++] = index;
}

inline void WriteUdf(const std::string& path, const QuantityTable& records, int32_t format = kUnitFormatNotSet,
                     uint16_t mode = kTextModeNotSet) {
  WriteWholeFile(path, EncodeUdf(records, format, mode));
}

inline int32_t CatalogueCount() { return TheService().ContentsCopy().catalogue->Count(); }

// The unit format has no export of its own: the dialogs commit it.
inline void SetUnitFormat(int32_t format) {
  StoredContents contents = TheService().ContentsCopy();
  contents.unit_format = format;
  ASSERT_TRUE(TheService().Commit(contents));
}

// The folder's file names, sorted, each followed by '|'.
inline std::string FolderNames(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  std::string joined;
  for (const std::string& name : names) joined += name + "|";
  return joined;
}

// One enumeration record: quantity, subquantity, kind, device, index, flags, name, symbol.
using Row = std::tuple<int, int, int, int, int, unsigned, std::string, std::string>;
using ListExport = bool(UNITS_CALL*)(t_unitquantity*&, int&);

// Calls a list export, or a lambda around one, and releases its list as
// hosts must.
template <typename Export>
std::vector<Row> Rows(Export list_export, bool* result = nullptr) {
  t_unitquantity* list = nullptr;
  int count = -1;
  const bool reported = list_export(list, count);
  if (result != nullptr) *result = reported;
  EXPECT_EQ(list == nullptr, count == 0);
  std::vector<Row> rows;
  for (const t_unitquantity* r = list; r < list + count; ++r) {
    rows.emplace_back(Val(r->wQuantity), Val(r->lSubQuantity), Val(r->wKind), Val(r->wDevice), Val(r->wIndex),
                      Val(r->dwFlags), r->szName, r->szSymbol);
  }
  UnitDeleteArray(list);
  return rows;
}
// An export named directly: its overloads pick the list form. (A lambda does
// not convert to a __stdcall pointer on 32-bit Windows.)
inline std::vector<Row> Rows(ListExport list_export, bool* result = nullptr) {
  return Rows<ListExport>(list_export, result);
}

// The five number arrays of UnitGetQuantities, released as hosts must.
struct NumberArrays {
  ~NumberArrays() {
    for (void* p : std::initializer_list<void*>{devices, quantities, subquantities, indexes, flags}) UnitDeletePtr(p);
  }
  bool Failed() const { return !result && !devices && !quantities && !subquantities && !indexes && !flags && !count; }

  unsigned short *devices = nullptr, *quantities = nullptr, *indexes = nullptr;
  int* subquantities = nullptr;
  unsigned long* flags = nullptr;
  int count = -1;
  bool result = UnitGetQuantities(devices, quantities, subquantities, indexes, flags, count);
};

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_SERVICE_SERVICE_HELPERS_H_
