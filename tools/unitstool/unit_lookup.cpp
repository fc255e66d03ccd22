#include "unit_lookup.h"

#include <cstdio>

#include "library_queries.h"
#include "model/conversion.h"
#include "model/text_codec.h"
#include "storage/file_names.h"
#include "storage/store_files.h"
#include "store_files.h"
#include "tool_error.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

// The characters beyond ASCII in the unit texts of the default catalogue,
// and how people type them on a plain keyboard.
struct AsciiSpelling {
  const char* ascii;
  const char* stored;
  const char* examples;
};

// Applied in this order: "^2" before "2", which would leave the caret. They
// apply only to a text that is not itself a unit text, so a unit text that
// holds a "u" or a digit is still found as it is.
constexpr AsciiSpelling kAsciiSpellings[] = {
    {"deg", "°", "degC, degF, deg, deg/s"},
    {"Ohm", "Ω", "Ohm, mOhm, kOhm, MOhm"},
    {"u", "µ", "us, um, um/m, uV, uA, uC, uF"},
    {"^2", "²", "m/s^2, mm/s^2"},
    {"2", "²", "m/s2, ft/s2"},
    {"^3", "³", "m^3/s, m^3/h"},
    {"3", "³", "m3/s, m3/h"},
    {"*", "·", "N*m, kN*m, lbf*ft, A*h"},
};

// The file the library reads at start-up when no registry key is chosen,
// which the tool never does.
constexpr char kCatalogueFile[] = "DEFAULT.UDF";

void ReplaceAll(std::string* text, const std::string& piece, const std::string& replacement) {
  for (size_t at = text->find(piece); at != std::string::npos; at = text->find(piece, at + replacement.size())) {
    text->replace(at, piece.size(), replacement);
  }
}

std::string Shown(const std::string& text) { return IsValidUtf8(text) ? text : Cp1252ToUtf8(text); }

// One unit per quantity: a quantity holding the text twice converts with
// the first, as the library does.
std::vector<const CatalogueUnit*> Matches(const std::vector<CatalogueUnit>& units, const std::string& spelling) {
  for (const std::string& text : {spelling, RespellAscii(spelling)}) {
    std::vector<const CatalogueUnit*> matches;
    for (const CatalogueUnit& unit : units) {
      if (unit.shown == text && (matches.empty() || matches.back()->quantity != unit.quantity)) {
        matches.push_back(&unit);
      }
    }
    if (!matches.empty()) return matches;
  }
  throw ToolError("no unit \"" + spelling + "\" in the catalogue");
}

std::string QuantityNames(const std::vector<const CatalogueUnit*>& units, bool with_ids) {
  std::string names;
  for (const CatalogueUnit* unit : units) {
    names += (names.empty() ? "" : ", ") + unit->quantity_name;
    if (with_ids) names += " (" + std::to_string(unit->quantity) + ")";
  }
  return names;
}

}  // namespace

std::string RespellAscii(const std::string& spelling) {
  std::string text = spelling;
  for (const AsciiSpelling& spelled : kAsciiSpellings) ReplaceAll(&text, spelled.ascii, spelled.stored);
  return text;
}

std::string AsciiSpellingHelp() {
  std::string help;
  for (const AsciiSpelling& spelled : kAsciiSpellings) {
    char line[128];
    std::snprintf(line, sizeof(line), "  %-4s for %s  %s\n", spelled.ascii, spelled.stored, spelled.examples);
    help += line;
  }
  return help;
}

std::vector<CatalogueUnit> LibraryUnits() {
  std::vector<CatalogueUnit> units;
  for (const Variant& quantity : EnabledQuantities()) {
    for (std::string& text : UnitTexts(quantity.quantity)) {
      if (text.empty()) continue;
      const std::string shown = Shown(text);
      units.push_back({quantity.quantity, Shown(quantity.name), std::move(text), shown});
    }
  }
  return units;
}

UnitPair ChooseUnits(const std::vector<CatalogueUnit>& units, const std::string& from, const std::string& to) {
  const std::vector<const CatalogueUnit*> from_units = Matches(units, from), to_units = Matches(units, to);
  std::vector<UnitPair> shared;
  for (const CatalogueUnit* a : from_units) {
    for (const CatalogueUnit* b : to_units) {
      if (a->quantity == b->quantity) shared.push_back({*a, *b});
    }
  }
  if (shared.size() == 1) return shared[0];
  if (shared.empty()) {
    throw ToolError("cannot convert " + from_units[0]->shown + " (" + QuantityNames(from_units, false) + ") to " +
                    to_units[0]->shown + " (" + QuantityNames(to_units, false) + ")");
  }
  std::vector<const CatalogueUnit*> candidates;
  for (const UnitPair& pair : shared) candidates.push_back(&pair.from);
  throw ToolError("\"" + from_units[0]->shown + "\" belongs to several quantities: " + QuantityNames(candidates, true) +
                  "; pair it with a unit that only one of them has");
}

UnitFactors FactorsOf(const CatalogueUnit& unit, const QuantityTable& records) {
  float factor = 0, offset = 0;
  if (!UnitGetFactors(unit.quantity, unit.text.c_str(), factor, offset)) {
    throw ToolError("the catalogue no longer holds " + unit.shown + " (" + unit.quantity_name + ")");
  }
  for (const auto& record : records) {
    if (record->wId != unit.quantity) continue;
    double exact_factor = 0, exact_offset = 0;
    if (FindUnitFactors(*record, unit.text.c_str(), &exact_factor, &exact_offset) &&
        static_cast<float>(exact_factor) == factor && static_cast<float>(exact_offset) == offset) {
      return {exact_factor, exact_offset, true};
    }
    break;  // the library, too, takes the first record with the identifier
  }
  return {factor, offset, false};
}

QuantityTable DataFolderRecords() {
  return ReadUdfFile(ResolveStoreFileName(kCatalogueFile, ".udf", DataFolder())).records;
}

}  // namespace tool
}  // namespace units
