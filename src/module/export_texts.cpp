// Names, symbols and unit texts.
#include "module/export_guard.h"
#include "text/names.h"
#include "text/unit_texts.h"
#include "units.h"

using units::Guarded;
using units::kUnknownText;

const char* UnitGetName(unsigned short quantity, short subquantity, unsigned long flags, unsigned short device,
                        unsigned short index) {
  return Guarded<const char*>(kUnknownText, [&] {
    return units::QuantityName(quantity, subquantity, static_cast<uint32_t>(flags), device, index);
  });
}

const char* UnitGetSymbol(unsigned short quantity, short subquantity, unsigned long flags, unsigned short device,
                          unsigned short index, bool exact) {
  return Guarded<const char*>(kUnknownText, [&] {
    return units::QuantitySymbol(quantity, subquantity, static_cast<uint32_t>(flags), device, index, exact);
  });
}

const char* UnitGetUnitText(const unsigned short quantity) {
  return Guarded<const char*>(kUnknownText, [&] { return units::CurrentUnitText(quantity); });
}

const char* UnitGetUnitBaseText(const unsigned short quantity) {
  return Guarded<const char*>(kUnknownText, [&] { return units::BaseUnitText(quantity); });
}

const char* UnitGetUnitTextEx(const unsigned short quantity) {
  return Guarded<const char*>(kUnknownText, [&] { return units::UnitTextInFormat(quantity); });
}

const char* UnitGetUnitTextFormat(int part) {
  return Guarded<const char*>("", [&] { return units::UnitFormatPart(part); });
}

bool UnitGetUnitTextAll(const unsigned short quantity, char* buffer, unsigned long size) {
  return Guarded(false, [&] { return units::AllUnitTexts(quantity, buffer, size); });
}
