#include "model/udf_format.h"

#include <algorithm>
#include <memory>

namespace units {

namespace {

void ReadUnitEntry(ByteReader& reader, t_quantityunit* unit) {
  uint16_t version = 0;
  reader.ReadU16(&version);
  if (version < 2) {
    float factor, offset;
    if (reader.ReadF32(&factor)) unit->dFactor = factor;
    if (reader.ReadF32(&offset)) unit->dOffset = offset;
  } else {
    unit->dFactor = ReadOr(reader, unit->dFactor);
    unit->dOffset = ReadOr(reader, unit->dOffset);
  }
  reader.ReadText(unit->szText, sizeof(unit->szText));
  unit->wState = ReadOr(reader, unit->wState);
}

void ReadPairs(ByteReader& reader, t_subquantity* slot) {
  uint16_t count = 0;
  if (!reader.ReadU16(&count)) return;
  const uint16_t kept = std::min<uint16_t>(count, kMaxPairs);
  slot->wCount = kept;
  for (uint16_t i = 0; i < kept; ++i) {
    slot->awDevice[i] = ReadOr(reader, slot->awDevice[i]);
    slot->awIndex[i] = ReadOr(reader, slot->awIndex[i]);
  }
  reader.Skip(4u * (count - kept));
}

void ReadSubQuantityEntry(ByteReader& reader, t_subquantity* slot) {
  uint16_t version = 0;
  // An entry the bytes do not reach stays initial, Data flag included.
  if (!reader.ReadU16(&version)) return;
  slot->lSubQuan = ReadOr(reader, slot->lSubQuan);
  reader.ReadText(slot->szName, sizeof(slot->szName));
  reader.ReadText(slot->szSymbol, sizeof(slot->szSymbol));
  if (version >= 3) reader.ReadText(slot->szText, sizeof(slot->szText));
  slot->wState = ReadOr(reader, slot->wState);
  if (version >= 2) {
    slot->dwFlags = ReadOr(reader, slot->dwFlags);
  } else {
    slot->dwFlags = kFlagData;
  }
  if (version >= 4) ReadPairs(reader, slot);
}

// Entries beyond the ten slots never come from a writer; reading them into a
// scratch record keeps the next record at its right position.
template <typename Entry, typename ReadEntry>
void ReadEntries(ByteReader& reader, Entry* slots, int slot_count, ReadEntry read_entry) {
  int32_t stored = 0;
  if (!reader.ReadI32(&stored)) return;
  for (int32_t i = 0; i < stored && !reader.Exhausted(); ++i) {
    if (i < slot_count) {
      read_entry(reader, &slots[i]);
    } else {
      Entry scratch{};
      read_entry(reader, &scratch);
    }
  }
}

void WriteUnitEntry(ByteWriter& writer, const t_quantityunit& unit) {
  writer.WriteU16(kUnitEntryVersion);
  writer.WriteF64(unit.dFactor);
  writer.WriteF64(unit.dOffset);
  writer.WriteText(unit.szText, sizeof(unit.szText));
  writer.WriteU16(unit.wState);
}

uint16_t StoredPairCount(const t_subquantity& slot) { return static_cast<uint16_t>(PairCount(slot)); }

void WriteSubQuantityEntry(ByteWriter& writer, const t_subquantity& slot) {
  writer.WriteU16(kSubQuantityEntryVersion);
  writer.WriteI32(slot.lSubQuan);
  writer.WriteText(slot.szName, sizeof(slot.szName));
  writer.WriteText(slot.szSymbol, sizeof(slot.szSymbol));
  writer.WriteText(slot.szText, sizeof(slot.szText));
  writer.WriteU16(slot.wState);
  writer.WriteU32(slot.dwFlags);
  const uint16_t pairs = StoredPairCount(slot);
  writer.WriteU16(pairs);
  for (uint16_t i = 0; i < pairs; ++i) {
    writer.WriteU16(slot.awDevice[i]);
    writer.WriteU16(slot.awIndex[i]);
  }
}

}  // namespace

void ReadQuantityRecord(ByteReader& reader, t_quantity* quantity) {
  uint16_t version = 0;
  reader.ReadU16(&version);
  quantity->wId = ReadOr(reader, quantity->wId);
  reader.ReadText(quantity->szName, sizeof(quantity->szName));
  if (version == 1) {
    reader.ReadTextPrefix(quantity->szSymbol, sizeof(quantity->szSymbol), 11);
  } else {
    reader.ReadText(quantity->szSymbol, sizeof(quantity->szSymbol));
    reader.ReadText(quantity->szText, sizeof(quantity->szText));
  }
  quantity->dwState = ReadOr(reader, quantity->dwState);
  quantity->dwUnit = ReadOr(reader, quantity->dwUnit);
  ReadEntries(reader, quantity->aUnit, kUnitSlots, ReadUnitEntry);
  ReadEntries(reader, quantity->aSubQuantity, kSubQuantitySlots, ReadSubQuantityEntry);
}

void WriteQuantityRecord(ByteWriter& writer, const t_quantity& quantity) {
  writer.WriteU16(kRecordVersion);
  writer.WriteU16(quantity.wId);
  writer.WriteText(quantity.szName, sizeof(quantity.szName));
  writer.WriteText(quantity.szSymbol, sizeof(quantity.szSymbol));
  writer.WriteText(quantity.szText, sizeof(quantity.szText));
  writer.WriteU32(quantity.dwState);
  writer.WriteU32(quantity.dwUnit);
  writer.WriteI32(kUnitSlots);
  for (const t_quantityunit& unit : quantity.aUnit) WriteUnitEntry(writer, unit);
  writer.WriteI32(kSubQuantitySlots);
  for (const t_subquantity& slot : quantity.aSubQuantity) WriteSubQuantityEntry(writer, slot);
}

size_t QuantityRecordSize(const t_quantity& quantity) {
  size_t pairs = 0;
  for (const t_subquantity& slot : quantity.aSubQuantity) pairs += StoredPairCount(slot);
  return kRecordBaseSize + 4 * pairs;
}

UdfContents DecodeUdf(ByteReader& reader) {
  UdfContents contents;
  uint16_t first = 0;
  reader.ReadU16(&first);
  if (first == kUdfMarker) {
    contents.has_header = true;
    uint16_t version = 0, count = 0;
    reader.ReadU16(&version);
    reader.ReadU16(&count);
    reader.ReadI32(&contents.unit_format);
    reader.ReadU16(&contents.text_mode);
    contents.declared_count = count;
  } else {
    contents.declared_count = first;
  }
  for (uint32_t i = 0; i < contents.declared_count && !reader.AtEnd(); ++i) {
    auto quantity = std::make_unique<t_quantity>();
    InitQuantity(quantity.get());
    ReadQuantityRecord(reader, quantity.get());
    contents.records.push_back(std::move(quantity));
    if (!reader.Exhausted()) contents.complete_records = contents.records.size();
  }
  return contents;
}

namespace {

template <typename Records>
std::string EncodeRecords(const Records& records, int32_t unit_format, uint16_t text_mode) {
  const size_t count = std::min(records.size(), kMaxUdfRecords);
  std::string bytes;
  size_t total = kUdfHeaderSize;
  for (size_t i = 0; i < count; ++i) total += QuantityRecordSize(*records[i]);
  bytes.reserve(total);
  ByteWriter writer(&bytes);
  writer.WriteU16(kUdfMarker);
  writer.WriteU16(kUdfFileVersion);
  writer.WriteU16(static_cast<uint16_t>(count));
  writer.WriteI32(unit_format);
  writer.WriteU16(text_mode);
  for (size_t i = 0; i < count; ++i) WriteQuantityRecord(writer, *records[i]);
  return bytes;
}

}  // namespace

std::string EncodeUdf(const QuantityTable& records, int32_t unit_format, uint16_t text_mode) {
  return EncodeRecords(records, unit_format, text_mode);
}

std::string EncodeUdf(const Catalogue& catalogue, int32_t unit_format, uint16_t text_mode) {
  return EncodeRecords(catalogue.Records(), unit_format, text_mode);
}

}  // namespace units
