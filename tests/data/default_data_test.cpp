// The default data that the build made from data/*.json: every quantity and
// group as its source says, each factor the double nearest to its fraction;
// and identifiers and units of rotation as their definitions say.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>

#include "data/nearest_double.h"
#include "model/fdf_format.h"
#include "model/udf_format.h"

namespace units {
namespace {

using nlohmann::json;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A number of the source is that double; a fraction "p/q" the double nearest to it.
void ExpectExact(double stored, const json& source) {
  if (!source.is_string()) {
    EXPECT_EQ(stored, source.get<double>());
  } else {
    const std::string text = source;
    const size_t slash = text.find('/');
    EXPECT_TRUE(testing::IsNearest(stored, std::stoull(text.substr(0, slash)), std::stoull(text.substr(slash + 1))))
        << stored << " for " << text;
  }
}

TEST(DefaultDataTest, CatalogueHoldsWhatItsSourceSaysAndTheDefinitionsMean) {
  const std::string bytes = Read(std::string(UNITS_TEST_DATA_FOLDER) + "DEFAULT.UDF");
  ByteReader reader(bytes.data(), bytes.size());
  const UdfContents built = DecodeUdf(reader);
  ASSERT_TRUE(built.has_header && reader.AtEnd() && built.records.size() == built.declared_count);
  EXPECT_TRUE(built.unit_format == kUnitFormatNotSet && built.text_mode == kTextModeNotSet);  // as the source says
  const json source = json::parse(Read(std::string(UNITS_TEST_SOURCE_DATA) + "default_units.json"))["quantities"];
  ASSERT_EQ(built.records.size(), source.size());
  // Hosts store quantity identifiers: none may move.
  const char* const names[] = {"Time", "Length", "Mass", "Temperature", "Pressure", "Force", "Torque", "Velocity",
                               "Acceleration", "Angular velocity", "Frequency", "Angle", "Voltage", "Current",
                               "Resistance", "Power", "Energy", "Charge", "Capacitance", "Volume flow", "Mass flow",
                               "Strain", "Sound pressure level", "Ratio", "Rotational speed"};
  // Units of rotation by definition: ω is an angle per time; revolutions per time are n (25).
  constexpr uint64_t kPiP = 428224593349304, kPiQ = 136308121570117;  // π to 1.2e-30, far inside half an ulp
  std::map<std::pair<unsigned, std::string>, std::pair<uint64_t, uint64_t>> meant = {
      {{10, "rad/min"}, {60, 1}}, {{10, "°/s"}, {180 * kPiQ, kPiP}}, {{10, "°/min"}, {10800 * kPiQ, kPiP}},
      {{12, "°"}, {180 * kPiQ, kPiP}}, {{25, "1/s"}, {1, 1}}, {{25, "1/min"}, {60, 1}}, {{25, "rpm"}, {60, 1}}};
  std::map<unsigned, std::string> ids;
  for (size_t i = 0; i < source.size(); ++i) {
    const t_quantity& q = *built.records[i];
    const json& s = source[i];
    ids.emplace(q.wId, q.szName);  // lookups take the first
    size_t units = 0;
    for (const t_quantityunit& unit : q.aUnit) {
      if (!(unit.wState & kUnitDefined)) continue;
      const json& defined = s["units"].at(units++);  // throws for a unit that the source does not have
      EXPECT_EQ(unit.szText, defined["text"]);
      ExpectExact(unit.dFactor, defined["factor"]);
      ExpectExact(unit.dOffset, defined.value("offset", json(0)));
      const std::string text = unit.szText;
      EXPECT_TRUE(q.wId != 10 || text.rfind("rad/", 0) == 0 || text.rfind("°/", 0) == 0) << text;
      const auto it = meant.find({q.wId, text});
      if (it == meant.end()) continue;
      EXPECT_TRUE(testing::IsNearest(unit.dFactor, it->second.first, it->second.second)) << q.wId << " " << text;
      meant.erase(it);
    }
    json slots = json::array(), expected_slots = json::array();
    for (const t_subquantity& slot : q.aSubQuantity) {
      if (slot.wState & kSlotDefined) slots.push_back({+slot.lSubQuan, slot.szName, slot.szSymbol, slot.szText});
    }
    for (const json& slot : s.value("subquantities", json::array())) {
      expected_slots.push_back({slot["number"], slot["name"], slot.value("symbol", ""), slot.value("text", "")});
    }
    EXPECT_EQ(json({+q.wId, q.szName, q.szSymbol, q.szText, +q.dwUnit, +q.dwState, units, slots}),
              json({s["id"], s["name"], s["symbol"], s.value("text", ""), s["unit"], kQuantityEnabled,
                    s["units"].size(), expected_slots}));
  }
  EXPECT_EQ(meant.size(), 0u) << "a unit is missing, first " << meant.begin()->first.second;
  for (unsigned id = 1; id <= std::size(names); ++id) EXPECT_EQ(ids[id], names[id - 1]) << "quantity " << id;
}

TEST(DefaultDataTest, GroupsHoldWhatTheirSourceSays) {
  const std::string bytes = Read(std::string(UNITS_TEST_DATA_FOLDER) + "DEFAULT.FDF");
  ByteReader reader(bytes.data(), bytes.size());
  const FdfContents built = DecodeFdf(reader);
  ASSERT_TRUE(built.has_header && reader.AtEnd());
  const json source = json::parse(Read(std::string(UNITS_TEST_SOURCE_DATA) + "default_groups.json"));
  EXPECT_EQ(built.stored_index, source["current_group"]);
  ASSERT_EQ(built.entries.size(), source["groups"].size());
  for (size_t g = 0; g < built.entries.size(); ++g) {
    EXPECT_EQ(built.entries[g].szName, source["groups"][g]["name"]);
    EXPECT_EQ(static_cast<size_t>(built.entries[g].lCount), source["groups"][g]["conditions"].size());
  }
}

}  // namespace
}  // namespace units
