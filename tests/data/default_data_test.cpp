// The default catalogue and groups as the build lays them out in the data
// folder: every factor and offset against its definition, every text against
// its field, and the groups against the catalogue they select from.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "data/exact_rational.h"
#include "groups/group_model.h"
#include "storage/byte_io.h"
#include "storage/fdf_format.h"
#include "storage/udf_format.h"

namespace units {
namespace {

using testing::IsCorrectlyRounded;
using testing::IsCorrectlyRoundedApproximation;
using testing::Rational;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Rational Decimal(const char* text) { return Rational::FromDecimal(text); }

// The defining constants (SI Brochure, NIST SP 811), in SI base units.
const Rational kInch = Decimal("0.0254");
const Rational kFoot = Rational(12) * kInch;
const Rational kMile = Rational(5280) * kFoot;
const Rational kPound = Decimal("0.45359237");
const Rational kStandardGravity = Decimal("9.80665");
const Rational kPoundForce = kPound * kStandardGravity;
const Rational kGallon = Rational(231) * kInch * kInch * kInch;
const Rational kHour(3600);
const Rational kMilli(1, 1000);

struct ExactUnit {
  const char* quantity;
  const char* unit;
  Rational factor;  // display value = base value x factor + offset
  Rational offset;
};

// Units other than SI prefixes of the base unit, which PrefixFactor covers.
// Factors are the reciprocal of the unit's size in the base unit.
std::vector<ExactUnit> ExactUnits() {
  const auto per = [](const Rational& size) { return size.Reciprocal(); };
  return {
      {"Time", "min", per(60), 0},
      {"Time", "h", per(kHour), 0},
      {"Time", "d", per(86400), 0},
      {"Length", "in", per(kInch), 0},
      {"Length", "ft", per(kFoot), 0},
      {"Length", "mi", per(kMile), 0},
      {"Mass", "g", per(kMilli), 0},
      {"Mass", "mg", per(kMilli * kMilli), 0},
      {"Mass", "t", per(1000), 0},
      {"Mass", "lb", per(kPound), 0},
      {"Mass", "oz", per(kPound / Rational(16)), 0},
      {"Temperature", "K", 1, Decimal("273.15")},
      {"Temperature", "°F", Rational(9, 5), 32},
      {"Pressure", "bar", per(100000), 0},
      {"Pressure", "mbar", per(100), 0},
      {"Pressure", "psi", per(kPoundForce / (kInch * kInch)), 0},
      // Conventional millimetre of mercury: 13595.1 kg/m³ x gn x 1 mm.
      {"Pressure", "mmHg", per(Decimal("13595.1") * kStandardGravity * kMilli), 0},
      {"Force", "lbf", per(kPoundForce), 0},
      {"Force", "kgf", per(kStandardGravity), 0},
      {"Torque", "N·mm", per(kMilli), 0},
      {"Torque", "lbf·ft", per(kPoundForce * kFoot), 0},
      {"Torque", "lbf·in", per(kPoundForce * kInch), 0},
      {"Velocity", "km/h", per(Rational(1000) / kHour), 0},
      {"Velocity", "mph", per(kMile / kHour), 0},
      {"Velocity", "kn", per(Rational(1852) / kHour), 0},
      {"Velocity", "ft/s", per(kFoot), 0},
      {"Acceleration", "g", per(kStandardGravity), 0},
      {"Acceleration", "ft/s²", per(kFoot), 0},
      {"Frequency", "1/min", per(Rational(1, 60)), 0},
      {"Power", "hp", per(Rational(550) * kFoot * kPoundForce), 0},
      {"Energy", "Wh", per(kHour), 0},
      {"Energy", "kWh", per(Rational(1000) * kHour), 0},
      {"Charge", "A·h", per(kHour), 0},
      {"Charge", "mA·h", per(kMilli * kHour), 0},
      {"Volume flow", "m³/h", per(Rational(1) / kHour), 0},
      {"Volume flow", "l/s", per(kMilli), 0},
      {"Volume flow", "l/min", per(kMilli / Rational(60)), 0},
      {"Volume flow", "l/h", per(kMilli / kHour), 0},
      {"Volume flow", "ml/min", per(kMilli * kMilli / Rational(60)), 0},
      {"Volume flow", "gal/min", per(kGallon / Rational(60)), 0},
      {"Mass flow", "g/s", per(kMilli), 0},
      {"Mass flow", "kg/min", per(Rational(1, 60)), 0},
      {"Mass flow", "kg/h", per(Rational(1) / kHour), 0},
      {"Mass flow", "t/h", per(Rational(1000) / kHour), 0},
      {"Mass flow", "lb/h", per(kPound / kHour), 0},
      {"Strain", "%", 100, 0},
      {"Ratio", "%", 100, 0},
      {"Ratio", "‰", 1000, 0},
      {"Ratio", "ppm", 1000000, 0},
  };
}

struct PiUnit {
  const char* quantity;
  const char* unit;
  long double factor;  // from pi in long double
};

// pi rounded to long double (64-bit significand); with one division on top
// the relative error stays below 2^-62.
constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kPiError = 0x1p-62L;

std::vector<PiUnit> PiUnits() {
  return {
      {"Angle", "°", 180 / kPi},
      {"Angular velocity", "1/min", 30 / kPi},  // one turn is 2 pi rad, one minute 60 s
      {"Angular velocity", "rpm", 30 / kPi},
      {"Angular velocity", "1/s", 1 / (2 * kPi)},
      {"Angular velocity", "°/s", 180 / kPi},
  };
}

// The factor of an SI prefix in front of the base unit's text, if `unit` is
// one: "kPa" over "Pa" gives 1/1000.
bool PrefixFactor(const std::string& unit, const std::string& base, Rational* factor) {
  static const std::map<std::string, Rational> kPrefixes = {
      {"p", Rational(1000000000000)}, {"n", Rational(1000000000)}, {"µ", Rational(1000000)},
      {"m", Rational(1000)},          {"c", Rational(100)},        {"h", Rational(1, 100)},
      {"k", Rational(1, 1000)},       {"M", Rational(1, 1000000)},
  };
  if (unit.size() <= base.size() || unit.compare(unit.size() - base.size(), base.size(), base) != 0) return false;
  const auto found = kPrefixes.find(unit.substr(0, unit.size() - base.size()));
  if (found == kPrefixes.end()) return false;
  *factor = found->second;
  return true;
}

class DefaultCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = ReadFile(std::string(UNITS_TEST_DATA_FOLDER) + "DEFAULT.UDF");
    ASSERT_FALSE(bytes_.empty()) << "the build lays out " << UNITS_TEST_DATA_FOLDER << "DEFAULT.UDF";
    ByteReader reader(bytes_.data(), bytes_.size());
    contents_ = DecodeUdf(reader);
    ASSERT_TRUE(contents_.has_header);
    ASSERT_EQ(contents_.records.size(), contents_.declared_count);
    EXPECT_TRUE(reader.AtEnd()) << "bytes after the last record";
  }

  const t_quantity* Find(const std::string& name) const {
    for (const auto& record : contents_.records) {
      if (name == record->szName) return record.get();
    }
    return nullptr;
  }

  // The defined unit with this text, or null.
  const t_quantityunit* FindUnit(const std::string& quantity, const std::string& unit) const {
    const t_quantity* record = Find(quantity);
    if (record == nullptr) return nullptr;
    for (const t_quantityunit& slot : record->aUnit) {
      if ((slot.wState & kUnitDefined) && unit == slot.szText) return &slot;
    }
    return nullptr;
  }

  std::string bytes_;
  UdfContents contents_;
};

TEST_F(DefaultCatalogueTest, HoldsTheEverydayQuantitiesWithTheirSiBaseUnits) {
  const std::map<std::string, std::string> kBase = {
      {"Time", "s"},
      {"Length", "m"},
      {"Mass", "kg"},
      {"Temperature", "°C"},
      {"Pressure", "Pa"},
      {"Force", "N"},
      {"Torque", "N·m"},
      {"Velocity", "m/s"},
      {"Acceleration", "m/s²"},
      {"Angular velocity", "rad/s"},
      {"Frequency", "Hz"},
      {"Angle", "rad"},
      {"Voltage", "V"},
      {"Current", "A"},
      {"Resistance", "Ω"},
      {"Power", "W"},
      {"Energy", "J"},
      {"Charge", "C"},
      {"Capacitance", "F"},
      {"Volume flow", "m³/s"},
      {"Mass flow", "kg/s"},
      {"Strain", "m/m"},
      {"Sound pressure level", "dB"},
      {"Ratio", "1"},
  };
  for (const auto& [name, base] : kBase) {
    const t_quantity* quantity = Find(name);
    ASSERT_NE(quantity, nullptr) << name;
    EXPECT_STREQ(quantity->aUnit[0].szText, base.c_str()) << name;
    EXPECT_TRUE(quantity->aUnit[0].wState & kUnitDefined) << name;
    EXPECT_EQ(+quantity->aUnit[0].dFactor, 1.0) << name;
    EXPECT_EQ(+quantity->aUnit[0].dOffset, 0.0) << name;
    EXPECT_TRUE(quantity->dwState & kQuantityEnabled) << name;
  }
}

TEST_F(DefaultCatalogueTest, IdentifiersAreSmallUniqueAndCurrentUnitsAreDefined) {
  std::set<uint16_t> ids;
  for (const auto& record : contents_.records) {
    EXPECT_TRUE(ids.insert(record->wId).second) << "duplicate id " << record->wId;
    EXPECT_GE(+record->wId, 1);
    EXPECT_LE(+record->wId, contents_.records.size()) << record->szName;
    ASSERT_LT(+record->dwUnit, static_cast<uint32_t>(kUnitSlots)) << record->szName;
    EXPECT_TRUE(record->aUnit[record->dwUnit].wState & kUnitDefined) << record->szName;
  }
}

TEST_F(DefaultCatalogueTest, UnitTextsAreUniqueWithinAQuantity) {
  // Factors are looked up by unit text; a second unit of the same text could
  // never be found.
  for (const auto& record : contents_.records) {
    std::set<std::string> texts;
    for (const t_quantityunit& unit : record->aUnit) {
      if (!(unit.wState & kUnitDefined)) continue;
      EXPECT_TRUE(texts.insert(unit.szText).second) << record->szName << ": " << unit.szText;
    }
  }
}

TEST_F(DefaultCatalogueTest, ExactFactorsAndOffsetsAreTheCorrectlyRoundedDefinitions) {
  for (const ExactUnit& expected : ExactUnits()) {
    const t_quantityunit* unit = FindUnit(expected.quantity, expected.unit);
    ASSERT_NE(unit, nullptr) << expected.quantity << " has no unit " << expected.unit;
    EXPECT_TRUE(IsCorrectlyRounded(unit->dFactor, expected.factor)) << expected.quantity << " " << expected.unit;
    EXPECT_TRUE(IsCorrectlyRounded(unit->dOffset, expected.offset)) << expected.quantity << " " << expected.unit;
  }
}

TEST_F(DefaultCatalogueTest, FactorsOfPiAreTheCorrectlyRoundedDefinitions) {
  for (const PiUnit& expected : PiUnits()) {
    const t_quantityunit* unit = FindUnit(expected.quantity, expected.unit);
    ASSERT_NE(unit, nullptr) << expected.quantity << " has no unit " << expected.unit;
    EXPECT_TRUE(IsCorrectlyRoundedApproximation(unit->dFactor, expected.factor, kPiError))
        << expected.quantity << " " << expected.unit;
    EXPECT_EQ(+unit->dOffset, 0.0);
  }
}

TEST_F(DefaultCatalogueTest, PrefixedUnitsArePowersOfTen) {
  int checked = 0;
  for (const auto& record : contents_.records) {
    for (int i = 1; i < kUnitSlots; ++i) {
      const t_quantityunit& unit = record->aUnit[i];
      Rational factor;
      if (!(unit.wState & kUnitDefined) || !PrefixFactor(unit.szText, record->aUnit[0].szText, &factor)) continue;
      EXPECT_TRUE(IsCorrectlyRounded(unit.dFactor, factor)) << record->szName << " " << unit.szText;
      EXPECT_EQ(+unit.dOffset, 0.0) << record->szName << " " << unit.szText;
      ++checked;
    }
  }
  EXPECT_GE(checked, 30);
}

TEST_F(DefaultCatalogueTest, EveryDefinedUnitIsCheckedAgainstADefinition) {
  std::set<std::pair<std::string, std::string>> known;
  for (const ExactUnit& unit : ExactUnits()) known.emplace(unit.quantity, unit.unit);
  for (const PiUnit& unit : PiUnits()) known.emplace(unit.quantity, unit.unit);
  for (const auto& record : contents_.records) {
    for (int i = 1; i < kUnitSlots; ++i) {
      const t_quantityunit& unit = record->aUnit[i];
      Rational factor;
      if (!(unit.wState & kUnitDefined) || PrefixFactor(unit.szText, record->aUnit[0].szText, &factor)) continue;
      EXPECT_TRUE(known.count({record->szName, unit.szText}))
          << record->szName << " " << unit.szText << " is unchecked";
    }
  }
}

TEST_F(DefaultCatalogueTest, ConversionsOfWellKnownValues) {
  // Through the stored factors, the way the library converts.
  const auto to_display = [&](const char* quantity, const char* unit, double base) {
    const t_quantityunit* slot = FindUnit(quantity, unit);
    return slot == nullptr ? NAN : base * slot->dFactor + slot->dOffset;
  };
  EXPECT_EQ(to_display("Temperature", "°F", 100.0), 212.0);
  EXPECT_EQ(to_display("Temperature", "°F", -40.0), -40.0);
  EXPECT_DOUBLE_EQ(to_display("Temperature", "K", 0.0), 273.15);
  EXPECT_DOUBLE_EQ(to_display("Length", "ft", 0.3048), 1.0);
  EXPECT_DOUBLE_EQ(to_display("Velocity", "km/h", 10.0), 36.0);
  EXPECT_DOUBLE_EQ(to_display("Pressure", "bar", 101325.0), 1.01325);
  EXPECT_NEAR(to_display("Pressure", "psi", 6894.757293168361), 1.0, 1e-15);
  EXPECT_NEAR(to_display("Angular velocity", "1/min", 2 * M_PI), 60.0, 1e-13);
  EXPECT_NEAR(to_display("Angle", "°", M_PI), 180.0, 1e-13);
}

// ---- texts ----

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (length == 0 || lead == 0xC0 || lead == 0xC1 || lead > 0xF4 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// Reads the raw text field at `offset`: it must hold its terminator inside
// its width and be UTF-8 before it.
std::string RawText(const std::string& bytes, size_t offset, size_t width, const std::string& what) {
  EXPECT_LE(offset + width, bytes.size()) << what;
  if (offset + width > bytes.size()) return "";
  const std::string field = bytes.substr(offset, width);
  const size_t end = field.find('\0');
  EXPECT_NE(end, std::string::npos) << what << " has no terminator inside its " << width << " bytes";
  const std::string text = field.substr(0, end);
  EXPECT_TRUE(IsUtf8(text)) << what << " is not UTF-8";
  EXPECT_EQ(field.find_first_not_of('\0', end), std::string::npos) << what << ": bytes after the terminator";
  return text;
}

uint16_t RawU16(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                               (static_cast<unsigned char>(bytes[offset + 1]) << 8));
}

TEST_F(DefaultCatalogueTest, EveryTextFitsItsFieldAsUtf8AndMatchesTheSource) {
  const auto source = nlohmann::json::parse(ReadFile(std::string(UNITS_TEST_SOURCE_DATA) + "default_units.json"));
  const auto& quantities = source.at("quantities");
  ASSERT_EQ(quantities.size(), contents_.records.size());
  // Record layout: texts at 4 (41 bytes), 45 (21), 66 (21); unit entries of
  // 41 bytes from 99 with their text at 18; subquantity entries from 513,
  // texts at 6 (41), 47 (21), 68 (21), pair count at 95, 97 + 4n bytes.
  size_t record = kUdfHeaderSize;
  for (const auto& quantity : quantities) {
    const std::string id = "quantity " + quantity.at("id").dump();
    EXPECT_EQ(RawText(bytes_, record + 4, 41, id + " name"), quantity.at("name"));
    EXPECT_EQ(RawText(bytes_, record + 45, 21, id + " symbol"), quantity.at("symbol"));
    EXPECT_EQ(RawText(bytes_, record + 66, 21, id + " text"), quantity.value("text", ""));
    const auto& units = quantity.at("units");
    for (size_t u = 0; u < kUnitSlots; ++u) {
      const std::string text = RawText(bytes_, record + 99 + 41 * u + 18, 21, id + " unit " + std::to_string(u));
      EXPECT_EQ(text, u < units.size() ? units[u].at("text").get<std::string>() : "") << id;
    }
    size_t slot = record + 513;
    const auto subquantities = quantity.value("subquantities", nlohmann::json::array());
    for (size_t s = 0; s < kSubQuantitySlots; ++s) {
      const std::string what = id + " subquantity " + std::to_string(s);
      const std::string name = RawText(bytes_, slot + 6, 41, what + " name");
      const std::string symbol = RawText(bytes_, slot + 47, 21, what + " symbol");
      const std::string text = RawText(bytes_, slot + 68, 21, what + " text");
      if (s < subquantities.size()) {
        EXPECT_EQ(name, subquantities[s].at("name"));
        EXPECT_EQ(symbol, subquantities[s].value("symbol", ""));
        EXPECT_EQ(text, subquantities[s].value("text", ""));
      }
      slot += 97 + 4 * size_t{RawU16(bytes_, slot + 95)};
    }
    record = slot;
  }
  EXPECT_EQ(record, bytes_.size());
}

TEST_F(DefaultCatalogueTest, SubquantitiesAreSetValueMeasuredDataOrError) {
  int defined = 0;
  for (const auto& record : contents_.records) {
    std::set<std::pair<int32_t, uint32_t>> identities;
    for (const t_subquantity& slot : record->aSubQuantity) {
      if (!(slot.wState & kSlotDefined)) continue;
      ++defined;
      const uint32_t kind = slot.dwFlags & (kFlagSet | kFlagError | kFlagData);
      EXPECT_TRUE(kind == kFlagSet || kind == kFlagError || kind == kFlagData) << record->szName << " " << slot.szName;
      EXPECT_TRUE(slot.wState & kSlotEnabled) << slot.szName;
      EXPECT_TRUE(identities.emplace(+slot.lSubQuan, +slot.dwFlags).second) << record->szName << " " << slot.szName;
    }
  }
  EXPECT_GT(defined, 0);
}

// ---- groups ----

class DefaultGroupsTest : public DefaultCatalogueTest {
 protected:
  void SetUp() override {
    DefaultCatalogueTest::SetUp();
    const std::string bytes = ReadFile(std::string(UNITS_TEST_DATA_FOLDER) + "DEFAULT.FDF");
    ByteReader reader(bytes.data(), bytes.size());
    groups_ = DecodeFdf(reader);
    ASSERT_TRUE(groups_.has_header);
    ASSERT_EQ(static_cast<int32_t>(groups_.entries.size()), groups_.declared_count);
    EXPECT_TRUE(reader.AtEnd());
  }

  const t_FilterEntry* Group(const char* name) const {
    for (const t_FilterEntry& entry : groups_.entries) {
      if (std::strcmp(entry.szName, name) == 0) return &entry;
    }
    return nullptr;
  }

  // The quantity names of the defined subquantities that `group` selects.
  std::set<std::string> Selected(const t_FilterEntry& group, uint32_t flags_mask = 0, uint32_t flags = 0) const {
    std::set<std::string> names;
    for (const auto& record : contents_.records) {
      for (const t_subquantity& slot : record->aSubQuantity) {
        if (!(slot.wState & kSlotDefined) || (slot.dwFlags & flags_mask) != flags) continue;
        if (GroupMatches(group, Combination{record->wId, slot.lSubQuan, slot.dwFlags, 0, 0}))
          names.insert(record->szName);
      }
    }
    return names;
  }

  FdfContents groups_;
};

TEST_F(DefaultGroupsTest, CurrentGroupIsAllQuantitiesAndEveryGroupSelectsSomething) {
  EXPECT_EQ(groups_.stored_index, 0);
  ASSERT_GE(groups_.entries.size(), 2u);
  for (const t_FilterEntry& entry : groups_.entries) {
    EXPECT_FALSE(Selected(entry).empty()) << entry.szName;
    for (int c = 0; c < ConditionsInUse(entry); ++c) {
      const t_FilterCondition& condition = entry.aCondition[c];
      if (!(condition.wTests & kTestQuantity)) continue;
      bool exists = false;
      for (const auto& record : contents_.records) exists = exists || record->wId == condition.wQuantity;
      EXPECT_TRUE(exists) << entry.szName << " names quantity " << condition.wQuantity;
    }
  }
}

TEST_F(DefaultGroupsTest, GroupsSelectTheirQuantities) {
  const t_FilterEntry* temperatures = Group("Temperatures");
  const t_FilterEntry* mechanics = Group("Mechanics");
  const t_FilterEntry* set_values = Group("Set values");
  ASSERT_NE(temperatures, nullptr);
  ASSERT_NE(mechanics, nullptr);
  ASSERT_NE(set_values, nullptr);
  EXPECT_EQ(Selected(*temperatures), std::set<std::string>({"Temperature"}));
  // Torque has no subquantity: the query offers it as the bare quantity
  // (subquantity 0, flags Data), which the group must select too.
  EXPECT_EQ(Selected(*mechanics), std::set<std::string>({"Force", "Pressure"}));
  const t_quantity* torque = Find("Torque");
  ASSERT_NE(torque, nullptr);
  EXPECT_TRUE(GroupMatches(*mechanics, Combination{torque->wId, 0, kFlagData, 0, 0}));
  EXPECT_FALSE(GroupMatches(*temperatures, Combination{torque->wId, 0, kFlagData, 0, 0}));
  // Set values: every quantity with a set value, nothing measured.
  std::set<std::string> with_set_value;
  for (const auto& record : contents_.records) {
    for (const t_subquantity& slot : record->aSubQuantity) {
      if ((slot.wState & kSlotDefined) && (slot.dwFlags & kFlagSet)) with_set_value.insert(record->szName);
    }
  }
  const uint32_t kKinds = kFlagSet | kFlagError | kFlagData;
  EXPECT_FALSE(with_set_value.empty());
  EXPECT_EQ(Selected(*set_values), with_set_value);
  EXPECT_EQ(Selected(*set_values, kKinds, kFlagData), std::set<std::string>());
  EXPECT_EQ(Selected(*set_values, kKinds, kFlagError), std::set<std::string>());
}

}  // namespace
}  // namespace units
