// Names, symbols and unit texts. Texts come from this thread's buffers.
#include "api/export_guard.h"
#include "service/names.h"
#include "service/unit_texts.h"
#include "units.h"

using units::GuardedRead;
using units::kUnknownText;
using units::View;

const char* UnitGetName(unsigned short quantity, short subquantity, unsigned long flags, unsigned short device,
                        unsigned short index) {
  return GuardedRead<const char*>(kUnknownText, [&](const View& view) {
    return units::QuantityName(view, quantity, subquantity, static_cast<uint32_t>(flags), device, index);
  });
}

const char* UnitGetSymbol(unsigned short quantity, short subquantity, unsigned long flags, unsigned short device,
                          unsigned short index, bool exact) {
  return GuardedRead<const char*>(kUnknownText, [&](const View& view) {
    return units::QuantitySymbol(view, quantity, subquantity, static_cast<uint32_t>(flags), device, index, exact);
  });
}

const char* UnitGetUnitText(const unsigned short quantity) {
  return GuardedRead<const char*>(kUnknownText, [&](const View& view) { return units::CurrentUnitText(view, quantity); });
}

const char* UnitGetUnitBaseText(const unsigned short quantity) {
  return GuardedRead<const char*>(kUnknownText, [&](const View& view) { return units::BaseUnitText(view, quantity); });
}

const char* UnitGetUnitTextEx(const unsigned short quantity) {
  return GuardedRead<const char*>(kUnknownText, [&](const View& view) { return units::UnitTextInFormat(view, quantity); });
}

const char* UnitGetUnitTextFormat(int part) {
  return GuardedRead<const char*>("", [&](const View& view) { return units::UnitFormatPart(view, part); });
}

bool UnitGetUnitTextAll(const unsigned short quantity, char* buffer, unsigned long size) {
  return GuardedRead(false, [&](const View& view) { return units::AllUnitTexts(view, quantity, buffer, size); });
}
