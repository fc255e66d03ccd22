#include "storage/store_sequences.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "groups/group_model.h"
#include "module/module_state.h"
#include "platform/debug_output.h"
#include "platform/registry.h"
#include "storage/fdf_file.h"
#include "storage/fdf_format.h"
#include "storage/udf_file.h"
#include "storage/udf_format.h"
#include "text/unit_format.h"

namespace units {

namespace {

using platform::RegistryKey;

std::string ValueName(const char* prefix, int64_t number) {
  char name[32];
  std::snprintf(name, sizeof(name), "%s%03lld", prefix, static_cast<long long>(number));
  return name;
}

// Fixed-size values are taken only when their size is exactly right, so a
// damaged value never changes half of a setting.
bool ReadU16(RegistryKey& key, const char* name, uint16_t* value) {
  std::string bytes;
  if (!key.Read(name, &bytes, 2) || bytes.size() != 2) return false;
  ByteReader reader(bytes.data(), bytes.size());
  return reader.ReadU16(value);
}

bool ReadI32(RegistryKey& key, const char* name, int32_t* value) {
  std::string bytes;
  if (!key.Read(name, &bytes, 4) || bytes.size() != 4) return false;
  ByteReader reader(bytes.data(), bytes.size());
  return reader.ReadI32(value);
}

std::string EncodeU16(uint16_t value) {
  std::string bytes;
  ByteWriter(&bytes).WriteU16(value);
  return bytes;
}

std::string EncodeI32(int32_t value) {
  std::string bytes;
  ByteWriter(&bytes).WriteI32(value);
  return bytes;
}

std::unique_ptr<RegistryKey> OpenCurrentKey(RegistryKey::Access access) {
  const ModuleState& state = Module();
  if (state.registry_path.empty()) return nullptr;
  std::string error;
  auto key = RegistryKey::Open(platform::RegistryDatabasePath(), state.root, CurrentRegistryKey(), access, &error);
  if (key == nullptr) {
    const bool writing = access == RegistryKey::Access::kWrite;
    platform::DebugOutput((writing ? "UNITS-SaveToRegistryOrFile: " : "UNITS-ReadFromRegistry: ") + error);
  }
  return key;
}

// Records "Unit000".. below "UnitCount". A count can never ask for more
// values than the key holds; a value that is missing, empty or too long is
// left out, the others load.
QuantityTable ReadQuantities(RegistryKey& key, int32_t count) {
  QuantityTable table;
  const int64_t limit = std::min<int64_t>(count, key.ValueCount());
  std::string bytes;
  for (int64_t i = 0; i < limit; ++i) {
    if (!key.Read(ValueName("Unit", i), &bytes, kMaxValueSize) || bytes.empty()) continue;
    auto quantity = std::make_unique<t_quantity>();
    InitQuantity(quantity.get());
    ByteReader reader(bytes.data(), bytes.size());
    ReadQuantityRecord(reader, quantity.get());
    table.push_back(std::move(quantity));
  }
  return table;
}

// Groups "UnitFilter000".. up to the first that cannot be read.
std::vector<t_FilterEntry> ReadGroups(RegistryKey& key) {
  std::vector<t_FilterEntry> groups;
  const int64_t limit = key.ValueCount();
  std::string bytes;
  for (int64_t k = 0; k < limit && key.Read(ValueName("UnitFilter", k), &bytes, kMaxValueSize); ++k) {
    t_FilterEntry entry;
    InitFilterEntry(&entry);
    ByteReader reader(bytes.data(), bytes.size());
    ReadGroupEntry(reader, &entry);
    groups.push_back(entry);
  }
  return groups;
}

void LoadFromFilesOnly() {
  ModuleState& state = Module();
  platform::DebugOutput("UNITS-ReadFromRegistry: g_wFromFileOnly");
  if (!LoadUdfFile(state.working_udf)) {
    TheCatalogue().Clear();
    LoadUdfFile(state.default_udf);
  }
  if (!LoadFdfFile(state.working_fdf)) LoadFdfFile(state.default_fdf);
}

// True when the key held quantities.
bool LoadQuantitiesFromKey(RegistryKey* key) {
  if (key == nullptr) return false;
  int32_t format = 0;
  if (ReadI32(*key, "UnitFormat", &format)) SetUnitFormat(format);
  uint16_t text_mode = 0;
  if (ReadU16(*key, "UnitSymbolMode", &text_mode)) SetTextMode(text_mode);
  uint16_t version = 0;
  int32_t count = 0;
  if (!ReadU16(*key, "UnitVersion", &version) || version == 0 || !ReadI32(*key, "UnitCount", &count)) return false;
  TheCatalogue().Replace(ReadQuantities(*key, count));
  return true;
}

// True when the key held groups. A stored index outside 0..groups is taken
// as 0, as for files, so that nothing can index past the group table.
bool LoadGroupsFromKey(RegistryKey* key) {
  uint16_t version = 0;
  if (key == nullptr || !ReadU16(*key, "UnitFilterVersion", &version) || version == 0) return false;
  GroupTable& groups = TheGroups();
  int32_t index = 0;
  ReadI32(*key, "UnitFilterIndex", &index);
  groups.Replace(ReadGroups(*key));
  groups.SetCurrentIndex(index);
  return true;
}

bool WriteQuantities(RegistryKey& key) {
  const Catalogue& catalogue = TheCatalogue();
  bool ok = key.Write("UnitFormat", EncodeI32(UnitFormat())) &&
            key.Write("UnitSymbolMode", EncodeU16(TextMode())) && key.Write("UnitVersion", EncodeU16(2)) &&
            key.Write("UnitCount", EncodeI32(catalogue.Count()));
  std::string bytes;
  for (int32_t i = 0; ok && i < catalogue.Count(); ++i) {
    bytes.clear();
    ByteWriter writer(&bytes);
    WriteQuantityRecord(writer, *catalogue.At(i));
    ok = key.Write(ValueName("Unit", i), bytes);
  }
  return ok;
}

// With no groups the stored groups are left as they are.
bool WriteGroups(RegistryKey& key) {
  const GroupTable& groups = TheGroups();
  if (groups.Count() == 0) return true;
  bool ok = key.Write("UnitFilterVersion", EncodeU16(1)) &&
            key.Write("UnitFilterIndex", EncodeI32(groups.CurrentIndex()));
  int64_t stale = 0;
  while (ok && key.Delete(ValueName("UnitFilter", stale))) ++stale;
  std::string bytes;
  for (int32_t k = 0; ok && k < groups.Count(); ++k) {
    bytes.clear();
    ByteWriter writer(&bytes);
    WriteGroupEntry(writer, groups.Entries()[k]);
    ok = key.Write(ValueName("UnitFilter", k), bytes);
  }
  return ok;
}

bool SaveToFiles() {
  const ModuleState& state = Module();
  platform::DebugOutput("UNITS-SaveToRegistryOrFile: g_wFromFileOnly");
  const bool units_saved = SaveUdfFile(state.working_udf);
  const bool groups_saved = SaveFdfFile(state.working_fdf);
  return units_saved && groups_saved;
}

}  // namespace

std::string CurrentRegistryKey() { return Module().registry_path + Module().user_part; }

void LoadSequence(bool fall_back_to_files) {
  ModuleState& state = Module();
  if (state.from_file_only != 0) {
    LoadFromFilesOnly();
    return;
  }
  std::unique_ptr<RegistryKey> key = OpenCurrentKey(RegistryKey::Access::kRead);
  bool write_back = false;
  if (!LoadQuantitiesFromKey(key.get()) && fall_back_to_files) {
    LoadUdfFile(state.working_udf);
    write_back = true;
  }
  if (!LoadGroupsFromKey(key.get()) && fall_back_to_files && LoadFdfFile(state.working_fdf)) write_back = true;
  key.reset();
  if (write_back) SaveSequence();
}

bool SaveSequence() {
  if (Module().from_file_only != 0) return SaveToFiles();
  if (Module().registry_path.empty()) return true;
  std::unique_ptr<RegistryKey> key = OpenCurrentKey(RegistryKey::Access::kWrite);
  if (key == nullptr) return false;
  if (WriteQuantities(*key) && WriteGroups(*key) && key->Commit()) return true;
  platform::DebugOutput("UNITS-SaveToRegistryOrFile: not saved, stored content kept: " + key->LastError());
  return false;
}

}  // namespace units
