// The group entry encoding and the FDF file layout.
//
// File:  i32 -1, u16 version 1, i32 count M, M entries, i32 current index.
//        Old files: i32 count M (not -1), M entries, then (if present) the index.
// Entry (version 2, 2306 bytes): u16 version, szName[300], i32 lCount,
//        100 conditions of 20 bytes: u16 wQuantity, i32 lSubQuan,
//        u32 dwFlagValue, u16 wDevice, u16 wIndex, u16 wTests, u32 dwFlagMask.
//        Versions 0/1 hold 1996 bytes of conditions: dwFlagMask of the last
//        condition is missing.
// Entry version numbers are stored on disk: never renumber them.
#ifndef UNITS_MODEL_FDF_FORMAT_H_
#define UNITS_MODEL_FDF_FORMAT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "model/group_model.h"
#include "model/byte_io.h"

namespace units {

constexpr int32_t kFdfMarker = -1;
constexpr uint16_t kFdfFileVersion = 1;
constexpr uint16_t kGroupEntryVersion = 2;
constexpr size_t kGroupEntrySize = 2306;
constexpr int32_t kMissingIndex = -999;

// Reads one entry into `entry`, which the caller has initialised. A count
// outside 0..100 is stored as the nearest bound.
void ReadGroupEntry(ByteReader& reader, t_FilterEntry* entry);
// Always writes 2306 bytes.
void WriteGroupEntry(ByteWriter& writer, const t_FilterEntry& entry);

struct FdfContents {
  bool has_header = false;
  int32_t declared_count = 0;
  std::vector<t_FilterEntry> entries;
  // The leading entries that the bytes held whole.
  size_t complete_entries = 0;
  int32_t stored_index = kMissingIndex;  // the trailing index, if present
};

// Decodes a whole FDF stream. Entries are created only for positions whose
// first byte exists.
FdfContents DecodeFdf(ByteReader& reader);
std::string EncodeFdf(const std::vector<t_FilterEntry>& entries, int32_t current_index);

}  // namespace units

#endif  // UNITS_MODEL_FDF_FORMAT_H_
