#include "model/fdf_format.h"

#include <algorithm>

namespace units {

namespace {

void ReadCondition(ByteReader& reader, t_FilterCondition* condition, bool with_mask) {
  condition->wQuantity = ReadOr(reader, condition->wQuantity);
  condition->lSubQuan = ReadOr(reader, condition->lSubQuan);
  condition->dwFlagValue = ReadOr(reader, condition->dwFlagValue);
  condition->wDevice = ReadOr(reader, condition->wDevice);
  condition->wIndex = ReadOr(reader, condition->wIndex);
  condition->wTests = ReadOr(reader, condition->wTests);
  if (with_mask) condition->dwFlagMask = ReadOr(reader, condition->dwFlagMask);
}

void WriteCondition(ByteWriter& writer, const t_FilterCondition& condition) {
  writer.WriteU16(condition.wQuantity);
  writer.WriteI32(condition.lSubQuan);
  writer.WriteU32(condition.dwFlagValue);
  writer.WriteU16(condition.wDevice);
  writer.WriteU16(condition.wIndex);
  writer.WriteU16(condition.wTests);
  writer.WriteU32(condition.dwFlagMask);
}

}  // namespace

void ReadGroupEntry(ByteReader& reader, t_FilterEntry* entry) {
  uint16_t version = 0;
  reader.ReadU16(&version);
  reader.ReadText(entry->szName, sizeof(entry->szName));
  int32_t count = 0;
  if (reader.ReadI32(&count)) entry->lCount = std::clamp<int32_t>(count, 0, kMaxConditions);
  for (int c = 0; c < kMaxConditions; ++c) {
    // Old entries end 4 bytes early: the mask of the last condition.
    const bool with_mask = version >= 2 || c + 1 < kMaxConditions;
    ReadCondition(reader, &entry->aCondition[c], with_mask);
  }
}

void WriteGroupEntry(ByteWriter& writer, const t_FilterEntry& entry) {
  writer.WriteU16(kGroupEntryVersion);
  writer.WriteText(entry.szName, sizeof(entry.szName));
  writer.WriteI32(entry.lCount);
  for (const t_FilterCondition& condition : entry.aCondition) WriteCondition(writer, condition);
}

FdfContents DecodeFdf(ByteReader& reader) {
  FdfContents contents;
  int32_t first = 0;
  reader.ReadI32(&first);
  if (first == kFdfMarker) {
    contents.has_header = true;
    uint16_t version = 0;
    reader.ReadU16(&version);
    reader.ReadI32(&contents.declared_count);
  } else {
    contents.declared_count = first;
  }
  for (int32_t i = 0; i < contents.declared_count && !reader.AtEnd(); ++i) {
    t_FilterEntry entry;
    InitFilterEntry(&entry);
    ReadGroupEntry(reader, &entry);
    contents.entries.push_back(entry);
    if (!reader.Exhausted()) contents.complete_entries = contents.entries.size();
  }
  reader.ReadI32(&contents.stored_index);
  return contents;
}

std::string EncodeFdf(const std::vector<t_FilterEntry>& entries, int32_t current_index) {
  std::string bytes;
  bytes.reserve(14 + kGroupEntrySize * entries.size());
  ByteWriter writer(&bytes);
  writer.WriteI32(kFdfMarker);
  writer.WriteU16(kFdfFileVersion);
  writer.WriteI32(static_cast<int32_t>(entries.size()));
  for (const t_FilterEntry& entry : entries) WriteGroupEntry(writer, entry);
  writer.WriteI32(current_index);
  return bytes;
}

}  // namespace units
