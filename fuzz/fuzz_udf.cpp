// Decodes arbitrary bytes as a UDF file, then checks that what the decoder
// made of them survives its own encoding: encode, decode again, and the second
// decode must give the same settings and records, which encode to the same
// bytes. Any read past the input is left to AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/byte_io.h"
#include "model/udf_format.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_udf: %s\n", what);
    std::abort();
  }
}

bool Terminated(const char* field, size_t width) { return std::memchr(field, '\0', width) != nullptr; }

// Every text field ends inside its width and no slot claims more than 50
// pairs, whatever the input was.
void CheckSane(const t_quantity& quantity) {
  Check(Terminated(quantity.szName, sizeof(quantity.szName)), "record name without terminator");
  Check(Terminated(quantity.szSymbol, sizeof(quantity.szSymbol)), "record symbol without terminator");
  Check(Terminated(quantity.szText, sizeof(quantity.szText)), "record text without terminator");
  for (const t_quantityunit& unit : quantity.aUnit) {
    Check(Terminated(unit.szText, sizeof(unit.szText)), "unit text without terminator");
  }
  for (const t_subquantity& slot : quantity.aSubQuantity) {
    Check(Terminated(slot.szName, sizeof(slot.szName)), "slot name without terminator");
    Check(Terminated(slot.szSymbol, sizeof(slot.szSymbol)), "slot symbol without terminator");
    Check(Terminated(slot.szText, sizeof(slot.szText)), "slot text without terminator");
    const uint16_t pairs = slot.wCount;
    Check(pairs <= units::kMaxPairs, "more than 50 pairs");
  }
}

bool SameText(const char* a, const char* b, size_t width) { return std::strncmp(a, b, width) == 0; }

// By value: the packed fields may be misaligned for a reference. Bitwise, so
// that NaN payloads count too.
template <typename T>
bool SameValue(T a, T b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool SameRecord(const t_quantity& a, const t_quantity& b) {
  if (!SameValue(a.wId, b.wId) || !SameText(a.szName, b.szName, sizeof(a.szName)) ||
      !SameText(a.szSymbol, b.szSymbol, sizeof(a.szSymbol)) || !SameText(a.szText, b.szText, sizeof(a.szText)) ||
      !SameValue(a.dwState, b.dwState) || !SameValue(a.dwUnit, b.dwUnit)) {
    return false;
  }
  for (int u = 0; u < units::kUnitSlots; ++u) {
    const t_quantityunit& x = a.aUnit[u];
    const t_quantityunit& y = b.aUnit[u];
    if (!SameValue(x.dFactor, y.dFactor) || !SameValue(x.dOffset, y.dOffset) ||
        !SameText(x.szText, y.szText, sizeof(x.szText)) || !SameValue(x.wState, y.wState)) {
      return false;
    }
  }
  for (int s = 0; s < units::kSubQuantitySlots; ++s) {
    const t_subquantity& x = a.aSubQuantity[s];
    const t_subquantity& y = b.aSubQuantity[s];
    if (!SameValue(x.lSubQuan, y.lSubQuan) || !SameText(x.szName, y.szName, sizeof(x.szName)) ||
        !SameText(x.szSymbol, y.szSymbol, sizeof(x.szSymbol)) || !SameText(x.szText, y.szText, sizeof(x.szText)) ||
        !SameValue(x.wState, y.wState) || !SameValue(x.dwFlags, y.dwFlags) || !SameValue(x.wCount, y.wCount)) {
      return false;
    }
    const uint16_t pairs = x.wCount;
    if (std::memcmp(x.awDevice, y.awDevice, 2u * pairs) != 0 || std::memcmp(x.awIndex, y.awIndex, 2u * pairs) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  units::ByteReader reader(data, size);
  const units::UdfContents first = units::DecodeUdf(reader);
  // A record exists only where its first byte does: a count never allocates
  // beyond what the input backs.
  Check(first.records.size() <= first.declared_count, "more records than the count");
  Check(first.records.size() <= size, "more records than input bytes");
  for (const auto& record : first.records) CheckSane(*record);

  const std::string encoded = units::EncodeUdf(first.records, first.unit_format, first.text_mode);
  size_t expected_size = units::kUdfHeaderSize;
  for (const auto& record : first.records) expected_size += units::QuantityRecordSize(*record);
  Check(encoded.size() == expected_size, "encoded size differs from the record sizes");

  units::ByteReader again(encoded.data(), encoded.size());
  const units::UdfContents second = units::DecodeUdf(again);
  Check(again.AtEnd() && !again.Exhausted(), "second decode did not end exactly at the last byte");
  Check(second.has_header, "encoding lost the header");
  Check(second.unit_format == first.unit_format, "unit format changed");
  Check(second.text_mode == first.text_mode, "text mode changed");
  Check(second.declared_count == first.records.size(), "count changed");
  Check(second.records.size() == first.records.size(), "record count changed");
  for (size_t i = 0; i < first.records.size(); ++i) {
    Check(SameRecord(*first.records[i], *second.records[i]), "record changed by encode and decode");
  }
  Check(units::EncodeUdf(second.records, second.unit_format, second.text_mode) == encoded,
        "second encoding differs from the first");
  return 0;
}
