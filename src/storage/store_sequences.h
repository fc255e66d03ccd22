// The only ways the catalogue, the groups and the two display settings reach
// or leave persistent storage: a registry key (the key-value store) or, in
// file-only mode, the working UDF and FDF files.
//
// Registry values under the key (binary, little-endian):
//   UnitFormat i32, UnitSymbolMode u16, UnitVersion u16 = 2, UnitCount i32,
//   Unit000.. one quantity record each, UnitFilterVersion u16 = 1,
//   UnitFilterIndex i32, UnitFilter000.. one group entry each.
#ifndef UNITS_STORAGE_STORE_SEQUENCES_H_
#define UNITS_STORAGE_STORE_SEQUENCES_H_

#include <string>

namespace units {

// Value contents are read into buffers of this size at most.
constexpr size_t kMaxValueSize = 5000;

// Fills catalogue, groups and settings. With `fall_back_to_files`, a key that
// holds no quantities (or no groups) is filled from the working files, and
// what they gave is written back to the key. The caller has released the
// catalogue before.
void LoadSequence(bool fall_back_to_files);

// Writes catalogue, groups and settings to the key in one transaction (or, in
// file-only mode, to the working files). Failures leave the previous stored
// content whole and are reported on the debug channel; the result says
// whether everything was written.
bool SaveSequence();

// The registry key of the current location: registry path + user part.
std::string CurrentRegistryKey();

}  // namespace units

#endif  // UNITS_STORAGE_STORE_SEQUENCES_H_
