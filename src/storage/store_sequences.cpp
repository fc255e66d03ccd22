#include "storage/store_sequences.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "model/fdf_format.h"
#include "model/udf_format.h"
#include "platform/debug_output.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "storage/file_names.h"
#include "storage/store_files.h"

namespace units {

namespace {

using platform::RegistryKey;

std::string ValueName(const char* prefix, int64_t number) {
  char name[32];
  std::snprintf(name, sizeof(name), "%s%03lld", prefix, static_cast<long long>(number));
  return name;
}

// Fixed-size values are taken only when their size is exactly right, so a
// damaged value never changes half of a setting: a longer one is not read,
// a shorter one does not decode.
bool ReadU16(RegistryKey& key, const char* name, uint16_t* value) {
  std::string bytes;
  if (!key.Read(name, &bytes, 2)) return false;
  ByteReader reader(bytes.data(), bytes.size());
  return reader.ReadU16(value);
}

bool ReadI32(RegistryKey& key, const char* name, int32_t* value) {
  std::string bytes;
  if (!key.Read(name, &bytes, 4)) return false;
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

std::unique_ptr<RegistryKey> OpenKey(const StoreLocation& location, RegistryKey::Access access) {
  if (location.registry_path.empty()) return nullptr;
  std::string error;
  auto key = RegistryKey::Open(location.registry_database, location.root,
                               location.registry_path + location.user_part, access, &error);
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

// A stored file to read: the user's saved copy when the files are saved
// elsewhere and one is there, else the data folder's.
std::string FileToRead(const StoreLocation& location, const std::string& name, const char* extension) {
  if (!location.save_folder.empty() && location.save_folder != location.data_folder) {
    const std::string saved = ResolveStoreFileName(name, extension, location.save_folder);
    if (platform::FileExists(saved)) return saved;
  }
  return ResolveStoreFileName(name, extension, location.data_folder);
}

std::string FileToSave(const StoreLocation& location, const std::string& name, const char* extension) {
  return ResolveStoreFileName(name, extension, location.save_folder.empty() ? location.data_folder
                                                                            : location.save_folder);
}

// Replaces the catalogue with the file's records and applies the settings
// its header sets. False only in file-only mode when the file gave no
// quantity, so that the caller can fall back.
bool LoadUdfName(const StoreLocation& location, const std::string& name, StoredContents* contents) {
  UdfContents file = ReadUdfFile(FileToRead(location, name, ".udf"));
  if (file.has_header) {
    if (file.unit_format >= 0) contents->unit_format = file.unit_format;
    if (file.text_mode != kTextModeNotSet) contents->text_mode = file.text_mode;
  }
  const bool empty = file.records.empty();
  contents->catalogue = MakeCatalogue(std::move(file.records));
  return !(location.from_file_only && empty);
}

// Replaces the groups and takes the stored index when it lies in 1..groups.
// True when the file gave at least one group.
bool LoadFdfName(const StoreLocation& location, const std::string& name, StoredContents* contents) {
  FdfContents file = ReadFdfFile(FileToRead(location, name, ".fdf"));
  auto groups = std::make_shared<GroupTable>();
  const bool any = !file.entries.empty();
  groups->Replace(std::move(file.entries));
  groups->SetCurrentIndex(file.stored_index >= 1 ? file.stored_index : 0);
  contents->groups = std::move(groups);
  return any;
}

void LoadFromFilesOnly(const StoreLocation& location, StoredContents* contents) {
  platform::DebugOutput("UNITS-ReadFromRegistry: g_wFromFileOnly");
  if (!LoadUdfName(location, location.working_udf, contents)) LoadUdfName(location, location.default_udf, contents);
  if (!LoadFdfName(location, location.working_fdf, contents)) LoadFdfName(location, location.default_fdf, contents);
}

// True when the key held quantities.
bool LoadQuantitiesFromKey(RegistryKey* key, StoredContents* contents) {
  if (key == nullptr) return false;
  int32_t format = 0;
  if (ReadI32(*key, "UnitFormat", &format)) contents->unit_format = format;
  uint16_t text_mode = 0;
  if (ReadU16(*key, "UnitSymbolMode", &text_mode)) contents->text_mode = text_mode;
  uint16_t version = 0;
  int32_t count = 0;
  if (!ReadU16(*key, "UnitVersion", &version) || version == 0 || !ReadI32(*key, "UnitCount", &count)) return false;
  contents->catalogue = MakeCatalogue(ReadQuantities(*key, count));
  return true;
}

// True when the key held groups. A stored index outside 0..groups is taken
// as 0, as for files, so that nothing can index past the group table.
bool LoadGroupsFromKey(RegistryKey* key, StoredContents* contents) {
  uint16_t version = 0;
  if (key == nullptr || !ReadU16(*key, "UnitFilterVersion", &version) || version == 0) return false;
  int32_t index = 0;
  ReadI32(*key, "UnitFilterIndex", &index);
  auto groups = std::make_shared<GroupTable>();
  groups->Replace(ReadGroups(*key));
  groups->SetCurrentIndex(index);
  contents->groups = std::move(groups);
  return true;
}

bool WriteQuantities(RegistryKey& key, const StoredContents& contents) {
  const Catalogue& catalogue = *contents.catalogue;
  bool ok = key.Write("UnitFormat", EncodeI32(contents.unit_format)) &&
            key.Write("UnitSymbolMode", EncodeU16(contents.text_mode)) && key.Write("UnitVersion", EncodeU16(2)) &&
            key.Write("UnitCount", EncodeI32(catalogue.Count()));
  std::string bytes;
  for (int32_t i = 0; ok && i < catalogue.Count(); ++i) {
    bytes.clear();
    ByteWriter writer(&bytes);
    WriteQuantityRecord(writer, catalogue.At(i));
    ok = key.Write(ValueName("Unit", i), bytes);
  }
  return ok;
}

// With no groups the stored groups are left as they are.
bool WriteGroups(RegistryKey& key, const GroupTable& groups) {
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

bool SaveToFiles(const StoreLocation& location, const StoredContents& contents) {
  platform::DebugOutput("UNITS-SaveToRegistryOrFile: g_wFromFileOnly");
  const bool units_saved = SaveUdfFile(FileToSave(location, location.working_udf, ".udf"),
                                       *contents.catalogue, contents.unit_format, contents.text_mode);
  const bool groups_saved =
      SaveFdfFile(FileToSave(location, location.working_fdf, ".fdf"), *contents.groups);
  return units_saved && groups_saved;
}

}  // namespace

bool LoadSequence(const StoreLocation& location, bool fall_back_to_files, StoredContents* contents) {
  if (location.from_file_only) {
    LoadFromFilesOnly(location, contents);
    return false;
  }
  std::unique_ptr<RegistryKey> key = OpenKey(location, RegistryKey::Access::kRead);
  bool write_back = false;
  if (!LoadQuantitiesFromKey(key.get(), contents) && fall_back_to_files) {
    LoadUdfName(location, location.working_udf, contents);
    write_back = true;
  }
  if (!LoadGroupsFromKey(key.get(), contents) && fall_back_to_files &&
      LoadFdfName(location, location.working_fdf, contents)) {
    write_back = true;
  }
  return write_back;
}

bool SaveSequence(const StoreLocation& location, const StoredContents& contents) {
  if (location.from_file_only) return SaveToFiles(location, contents);
  if (location.registry_path.empty()) return true;
  std::unique_ptr<RegistryKey> key = OpenKey(location, RegistryKey::Access::kWrite);
  if (key == nullptr) return false;
  if (WriteQuantities(*key, contents) && WriteGroups(*key, *contents.groups) && key->Commit()) return true;
  platform::DebugOutput("UNITS-SaveToRegistryOrFile: not saved, stored content kept: " + key->LastError());
  return false;
}

}  // namespace units
