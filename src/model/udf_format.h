// The quantity record encoding and the UDF file layout.
//
// File:   u16 0xFFFF, u16 version 2, u16 count N, i32 unit format (-1 = not
//         set), u16 text mode (0xFFFF = not set), then N records.
//         Old files: u16 count N (not 0xFFFF), then N records, no settings.
// Record (version 2): u16 version, u16 wId, szName[41], szSymbol[21],
//         szText[21], u32 dwState, u32 dwUnit, i32 10, 10 unit entries,
//         i32 10, 10 subquantity entries.  1483 + 4 x (sum of pair counts).
// Unit entry (version 2, 41 bytes): u16 version, f64 dFactor, f64 dOffset,
//         szText[21], u16 wState.  Versions 0/1 store f32 factor and offset.
// Subquantity entry (version 4, 97 + 4n bytes): u16 version, i32 lSubQuan,
//         szName[41], szSymbol[21], szText[21], u16 wState, u32 dwFlags,
//         u16 wCount n, n x (u16 device, u16 index).
//         Version 3 lacks the pairs, 2 also szText, 0/1 also dwFlags (= Data).
// Entry version numbers are stored on disk: never renumber them.
#ifndef UNITS_MODEL_UDF_FORMAT_H_
#define UNITS_MODEL_UDF_FORMAT_H_

#include <cstdint>
#include <string>

#include "model/catalogue.h"
#include "model/byte_io.h"

namespace units {

constexpr uint16_t kUdfMarker = 0xFFFF;
constexpr uint16_t kUdfFileVersion = 2;
constexpr uint16_t kRecordVersion = 2;
constexpr uint16_t kUnitEntryVersion = 2;
constexpr uint16_t kSubQuantityEntryVersion = 4;
constexpr size_t kUdfHeaderSize = 12;
constexpr size_t kRecordBaseSize = 1483;
constexpr int32_t kUnitFormatNotSet = -1;
constexpr uint16_t kTextModeNotSet = 0xFFFF;
// The count field is 16 bits wide.
constexpr size_t kMaxUdfRecords = 65535;

// Reads one record into `quantity`, which the caller has initialised. Fields
// the bytes do not reach keep their values.
void ReadQuantityRecord(ByteReader& reader, t_quantity* quantity);
void WriteQuantityRecord(ByteWriter& writer, const t_quantity& quantity);
size_t QuantityRecordSize(const t_quantity& quantity);

struct UdfContents {
  bool has_header = false;  // the current header, with settings
  int32_t unit_format = kUnitFormatNotSet;
  uint16_t text_mode = kTextModeNotSet;
  uint32_t declared_count = 0;
  QuantityTable records;
  // The leading records that the bytes held whole; a record cut short by the
  // end of the stream is the one after them.
  size_t complete_records = 0;
};

// Decodes a whole UDF stream. Records are created only for positions whose
// first byte exists, so a damaged count never allocates beyond what the bytes
// can back.
UdfContents DecodeUdf(ByteReader& reader);
std::string EncodeUdf(const QuantityTable& records, int32_t unit_format, uint16_t text_mode);
std::string EncodeUdf(const Catalogue& catalogue, int32_t unit_format, uint16_t text_mode);

}  // namespace units

#endif  // UNITS_MODEL_UDF_FORMAT_H_
