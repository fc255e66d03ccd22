// Units found by their texts across the whole catalogue, for
// `convert VALUE FROM TO`: which quantity a pair of unit texts belongs to,
// and the factors to convert with.
#ifndef UNITS_TOOLS_UNITSTOOL_UNIT_LOOKUP_H_
#define UNITS_TOOLS_UNITSTOOL_UNIT_LOOKUP_H_

#include <cstdint>
#include <string>
#include <vector>

#include "model/catalogue.h"

namespace units {
namespace tool {

// One defined unit of an enabled quantity.
struct CatalogueUnit {
  uint16_t quantity = 0;
  std::string quantity_name;  // translated
  std::string text;           // as stored: what the library compares with
  std::string shown;          // UTF-8: a Windows-1252 text of an old file decoded
};

// The stored text that an ASCII spelling stands for: each piece of the
// spelling table replaced by the character it spells ("degC" -> "°C").
std::string RespellAscii(const std::string& spelling);
// The spelling table for people, one line per piece, as --help shows it.
std::string AsciiSpellingHelp();

// Every defined unit of every enabled quantity of the library's catalogue.
std::vector<CatalogueUnit> LibraryUnits();

struct UnitPair {
  CatalogueUnit from, to;
};

// The units FROM and TO stand for, in the one quantity that has both. A
// spelling is first taken as it is and only then as an ASCII spelling.
// Throws ToolError for an unknown unit, for units of different quantities
// and when both units belong to several quantities alike.
UnitPair ChooseUnits(const std::vector<CatalogueUnit>& units, const std::string& from, const std::string& to);

struct UnitFactors {
  double factor = 1;
  double offset = 0;
  bool exact = true;  // false: the library's single-precision values
};

// The factors of `unit` as the library holds them. The library hands them
// out as floats only, which would spoil exact results (9/5 as a float makes
// 25 °C 76.99999881 °F), so the doubles come from `records` (the catalogue
// file the library read) wherever they round to the library's floats; a
// unit whose file values do not (the file changed since, or the library
// read another) gets the floats. Throws ToolError when the library no
// longer has the unit.
UnitFactors FactorsOf(const CatalogueUnit& unit, const QuantityTable& records);

// The records of the catalogue file in the library's data folder; none
// when it cannot be read.
QuantityTable DataFolderRecords();

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_UNIT_LOOKUP_H_
