#include "text/unit_texts.h"

#include <cstring>
#include <string>

#include "catalogue/catalogue.h"
#include "text/device_names.h"
#include "text/names.h"
#include "text/unit_format.h"

namespace units {

namespace {

// A unit text (20 bytes) and a translated word with separators.
constexpr size_t kUnitPartSize = 128;
char g_unit_part[kUnitPartSize];
char g_prefix[kUnitPartSize];
char g_suffix[kUnitPartSize];

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

const char* CurrentUnitText(uint16_t quantity) {
  const t_quantity* record = FindQuantity(quantity);
  return record == nullptr ? kUnknownText : CurrentUnit(*record).szText;
}

const char* BaseUnitText(uint16_t quantity) {
  const t_quantity* record = FindQuantity(quantity);
  return record == nullptr ? kUnknownText : record->aUnit[0].szText;
}

const char* UnitTextInFormat(uint16_t quantity) {
  const t_quantity* record = FindQuantity(quantity);
  if (record == nullptr) return kUnknownText;
  g_unit_part[0] = '\0';
  const char* unit = CurrentUnit(*record).szText;
  std::string prefix, suffix;
  if (unit[0] == '\0' || !FormatParts(UnitFormat(), &prefix, &suffix)) return g_unit_part;
  CopyText(g_unit_part, sizeof(g_unit_part), (prefix + unit + suffix).c_str());
  return g_unit_part;
}

const char* UnitFormatPart(int part) {
  std::string prefix, suffix;
  if (FormatParts(UnitFormat(), &prefix, &suffix)) {
    CopyText(g_prefix, sizeof(g_prefix), prefix.c_str());
    CopyText(g_suffix, sizeof(g_suffix), suffix.c_str());
  }
  return part == 0 ? g_prefix : g_suffix;
}

bool AllUnitTexts(uint16_t quantity, char* buffer, unsigned long size) {
  const t_quantity* record = FindQuantity(quantity);
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
