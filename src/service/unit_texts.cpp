#include "service/unit_texts.h"

#include <cstring>
#include <string>

#include "service/device_names.h"
#include "service/names.h"
#include "service/text_buffers.h"

namespace units {

namespace {

bool FormatParts(int32_t format, std::string* prefix, std::string* suffix) {
  switch (format) {
    case 0:
      *prefix = Translate("in") + " ";
      *suffix = "";
      return true;
    case 1:
      *prefix = "/ ";
      *suffix = "";
      return true;
    case 2:
      *prefix = "/ (";
      *suffix = ")";
      return true;
    case 3:
      *prefix = "[";
      *suffix = "]";
      return true;
    default:
      return false;
  }
}

}  // namespace

const char* CurrentUnitText(const View& view, uint16_t quantity) {
  const t_quantity* record = view.catalogue->Find(quantity);
  return record == nullptr ? kUnknownText : KeepText(TextKind::kUnitText, CurrentUnit(*record).szText);
}

const char* BaseUnitText(const View& view, uint16_t quantity) {
  const t_quantity* record = view.catalogue->Find(quantity);
  return record == nullptr ? kUnknownText : KeepText(TextKind::kBaseUnitText, record->aUnit[0].szText);
}

const char* UnitTextInFormat(const View& view, uint16_t quantity) {
  const t_quantity* record = view.catalogue->Find(quantity);
  if (record == nullptr) return kUnknownText;
  char* part = NextTextBuffer(TextKind::kUnitTextEx);
  if (part == nullptr) return kUnknownText;
  const char* unit = CurrentUnit(*record).szText;
  std::string prefix, suffix;
  if (unit[0] == '\0' || !FormatParts(view.unit_format, &prefix, &suffix)) return part;
  CopyText(part, kUnitPartSize, (prefix + unit + suffix).c_str());
  return part;
}

const char* UnitFormatPart(const View& view, int part) {
  char* kept_prefix = FormatPrefixBuffer();
  char* kept_suffix = FormatSuffixBuffer();
  if (kept_prefix == nullptr || kept_suffix == nullptr) return "";
  std::string prefix, suffix;
  if (FormatParts(view.unit_format, &prefix, &suffix)) {
    CopyText(kept_prefix, kUnitPartSize, prefix.c_str());
    CopyText(kept_suffix, kUnitPartSize, suffix.c_str());
  }
  return part == 0 ? kept_prefix : kept_suffix;
}

bool AllUnitTexts(const View& view, uint16_t quantity, char* buffer, unsigned long size) {
  const t_quantity* record = view.catalogue->Find(quantity);
  if (record == nullptr || buffer == nullptr) return false;
  unsigned long total = 0;
  bool written = false;
  for (const t_quantityunit& unit : record->aUnit) {
    if (!(unit.wState & kUnitDefined)) continue;
    const size_t length = strnlen(unit.szText, sizeof(unit.szText) - 1);
    const unsigned long position = total;
    total += length + 1;
    // The list keeps room for its closing NUL.
    if (total + 1 >= size) return false;
    std::memcpy(buffer + position, unit.szText, length);
    buffer[position + length] = '\0';
    buffer[total] = '\0';
    written = true;
  }
  return written;
}

}  // namespace units
