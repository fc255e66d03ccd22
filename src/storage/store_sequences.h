// The only ways the catalogue, the groups and the two display settings reach
// or leave persistent storage: a registry key (the key-value store) or, in
// file-only mode, the working UDF and FDF files. Both sequences work on the
// values they are given and touch no other state.
//
// Registry values under the key (binary, little-endian):
//   UnitFormat i32, UnitSymbolMode u16, UnitVersion u16 = 2, UnitCount i32,
//   Unit000.. one quantity record each, UnitFilterVersion u16 = 1,
//   UnitFilterIndex i32, UnitFilter000.. one group entry each.
#ifndef UNITS_STORAGE_STORE_SEQUENCES_H_
#define UNITS_STORAGE_STORE_SEQUENCES_H_

#include <cstdint>
#include <memory>
#include <string>

#include "model/catalogue.h"
#include "model/group_model.h"
#include "platform/registry.h"

namespace units {

// Value contents are read into buffers of this size at most.
constexpr size_t kMaxValueSize = 5000;

// Where the sequences load from and save to.
struct StoreLocation {
  bool from_file_only = false;
  std::string working_udf, working_fdf;
  std::string default_udf, default_fdf;
  std::string registry_path, user_part;  // the key is their concatenation
  platform::RegistryRoot root = platform::RegistryRoot::kLocalMachine;
  std::string data_folder;  // ends with '/'
  // Where files are saved: the data folder, or a folder of the user's when
  // the data folder cannot be written. Files saved there are read from there.
  std::string save_folder;
  std::string registry_database;
};

// What is stored: the catalogue, the groups with their current index, and
// the two display settings.
struct StoredContents {
  std::shared_ptr<const Catalogue> catalogue;
  std::shared_ptr<const GroupTable> groups;
  int32_t unit_format = 0;
  uint16_t text_mode = 0;
};

// Fills `contents` from the store; what the store does not hold keeps its
// value (the caller has emptied the catalogue before). With
// `fall_back_to_files`, a key that holds no quantities (or no groups) is
// filled from the working files. True when what the files gave should be
// written back to the key (the caller then runs SaveSequence).
bool LoadSequence(const StoreLocation& location, bool fall_back_to_files, StoredContents* contents);

// Writes everything to the key in one transaction (or, in file-only mode, to
// the working files). With no key chosen, nothing is written and the result
// is true. Failures leave the previous stored content whole and are reported
// on the debug channel; the result says whether everything was written.
bool SaveSequence(const StoreLocation& location, const StoredContents& contents);

}  // namespace units

#endif  // UNITS_STORAGE_STORE_SEQUENCES_H_
