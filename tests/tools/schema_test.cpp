// What the JSON source means for the stored records: defaults, flag names,
// conditions, exact factors and Windows-1252 texts.
#include <gtest/gtest.h>

#include <cstring>

#include "catalogue_json.h"
#include "groups_json.h"
#include "tool_error.h"

namespace units {
namespace tool {
namespace {

CatalogueDocument Catalogue(const char* source) { return CatalogueFromJson(Json::parse(source)); }
GroupsDocument Groups(const char* source) { return GroupsFromJson(Json::parse(source)); }

TEST(CatalogueSchemaTest, OmittedKeysTakeTheValuesOfANewRecord) {
  const CatalogueDocument document = Catalogue(R"({ "quantities": [ { "id": 9, "name": "Length", "symbol": "l",
      "units": [ { "text": "m", "factor": 1 }, { "text": "mm", "factor": 1000 } ] } ] })");
  EXPECT_EQ(document.unit_format, kUnitFormatNotSet);
  EXPECT_EQ(document.text_mode, kTextModeNotSet);
  ASSERT_EQ(document.records.size(), 1u);
  const t_quantity& q = *document.records[0];
  EXPECT_EQ(+q.wId, 9);
  EXPECT_STREQ(q.szText, "");
  EXPECT_EQ(+q.dwState, kQuantityEnabled);
  EXPECT_EQ(+q.dwUnit, 0u);
  EXPECT_EQ(+q.aUnit[1].dFactor, 1000.0);
  EXPECT_EQ(+q.aUnit[1].dOffset, 0.0);
  EXPECT_EQ(+q.aUnit[1].wState, kUnitDefined);
  EXPECT_EQ(+q.aUnit[2].wState, 2);  // not defined
  for (const t_subquantity& slot : q.aSubQuantity) EXPECT_EQ(+slot.wState, kSlotEnabled);
}

TEST(CatalogueSchemaTest, SubquantityStateFlagsAndPairs) {
  const CatalogueDocument document = Catalogue(R"({ "text_mode": 1, "unit_format": 2, "quantities": [ { "id": 1,
      "name": "T", "symbol": "T", "enabled": false, "units": [ { "text": "°C", "factor": 1 } ],
      "subquantities": [ null, { "number": 4, "name": "Set", "flags": ["Set", "Smooth", 4096], "kind": 3,
                                 "enabled": false, "pairs": [[2, 1], [3, 0]] } ] } ] })");
  EXPECT_EQ(document.text_mode, 1);
  EXPECT_EQ(document.unit_format, 2);
  const t_quantity& q = *document.records[0];
  EXPECT_EQ(+q.dwState, 0u);
  EXPECT_EQ(+q.aSubQuantity[0].wState, kSlotEnabled);  // null: an unused slot
  const t_subquantity& slot = q.aSubQuantity[1];
  EXPECT_EQ(+slot.lSubQuan, 4);
  EXPECT_EQ(+slot.dwFlags, kFlagSet | kFlagSmooth | 0x1000u);
  EXPECT_EQ(+slot.wState, kSlotDefined | 0x3000);
  ASSERT_EQ(+slot.wCount, 2);
  EXPECT_EQ(+slot.awDevice[0], 2);
  EXPECT_EQ(+slot.awIndex[0], 1);
  EXPECT_EQ(+slot.awDevice[1], 3);
}

TEST(CatalogueSchemaTest, FactorsAreExactRationalsOrNumbers) {
  const CatalogueDocument document = Catalogue(R"({ "quantities": [ { "id": 1, "name": "L", "symbol": "l",
      "units": [ { "text": "m", "factor": 1 }, { "text": "ft", "factor": "10000/3048" },
                 { "text": "x", "factor": "-1/3", "offset": "273/1" }, { "text": "y", "factor": 0.1, "offset": -0.0 },
                 { "text": "z", "factor": 18446744073709551615 } ] } ] })");
  const t_quantity& q = *document.records[0];
  EXPECT_EQ(+q.aUnit[1].dFactor, 10000.0 / 3048.0);
  EXPECT_EQ(+q.aUnit[2].dFactor, -1.0 / 3.0);
  EXPECT_EQ(+q.aUnit[2].dOffset, 273.0);
  EXPECT_EQ(+q.aUnit[3].dFactor, 0.1);
  EXPECT_TRUE(std::signbit(q.aUnit[3].dOffset));
  EXPECT_EQ(+q.aUnit[4].dFactor, 18446744073709551616.0);
}

TEST(CatalogueSchemaTest, Windows1252TextsAreStoredAsTheirBytes) {
  const CatalogueDocument document = Catalogue(R"({ "quantities": [ { "id": 1, "name": { "windows-1252": "Grüße €" },
      "symbol": "ü", "units": [ { "text": "m", "factor": 1 } ] } ] })");
  const t_quantity& q = *document.records[0];
  EXPECT_STREQ(q.szName,
               "Gr\xFC\xDF"
               "e \x80");
  EXPECT_STREQ(q.szSymbol, "\xC3\xBC");  // a plain string stays UTF-8
  // And back: the record's bytes decide which form the JSON takes.
  const Json json = CatalogueToJson(document);
  EXPECT_EQ(json["quantities"][0]["name"], Json::parse(R"({ "windows-1252": "Grüße €" })"));
  EXPECT_EQ(json["quantities"][0]["symbol"], "ü");
}

TEST(CatalogueSchemaTest, UnusedSlotsBetweenUsedOnesAreNull) {
  CatalogueDocument document;
  auto q = std::make_unique<t_quantity>();
  InitQuantity(q.get());
  q->aUnit[2] = {2.0, 0.0, "b", kUnitDefined};
  q->aSubQuantity[1].wState = kSlotDefined | kSlotEnabled;
  document.records.push_back(std::move(q));
  const Json json = CatalogueToJson(document)["quantities"][0];
  ASSERT_EQ(json["units"].size(), 3u);
  EXPECT_TRUE(json["units"][1].is_null());
  ASSERT_EQ(json["subquantities"].size(), 2u);
  EXPECT_TRUE(json["subquantities"][0].is_null());
}

TEST(GroupSchemaTest, KeysPresentAreTheTests) {
  const GroupsDocument document = Groups(R"({ "current_group": 1, "groups": [ { "name": "G", "conditions": [
      { "quantity": 4 },
      { "flags": { "on": ["Data"], "off": ["Set"] }, "device": 2, "index": 1 },
      { "subquantity": -1, "untested": { "quantity": 7 } },
      {} ] } ] })");
  EXPECT_EQ(document.current_group, 1);
  const t_FilterEntry& group = document.groups[0];
  EXPECT_STREQ(group.szName, "G");
  EXPECT_EQ(+group.lCount, 4);
  EXPECT_EQ(+group.aCondition[0].wTests, kTestQuantity);
  EXPECT_EQ(+group.aCondition[0].wQuantity, 4);
  EXPECT_EQ(+group.aCondition[0].lSubQuan, -1);  // untouched fields keep their initial values
  const t_FilterCondition& flags = group.aCondition[1];
  EXPECT_EQ(+flags.wTests, kTestFlags | kTestDevice | kTestIndex);
  EXPECT_EQ(+flags.dwFlagMask, kFlagData | kFlagSet);
  EXPECT_EQ(+flags.dwFlagValue, kFlagData);
  EXPECT_EQ(+flags.wDevice, 2);
  EXPECT_EQ(+flags.wIndex, 1);
  EXPECT_EQ(+group.aCondition[2].wTests, kTestSubQuantity);
  EXPECT_EQ(+group.aCondition[2].wQuantity, 7);
  EXPECT_EQ(+group.aCondition[3].wTests, 0);
  // The conditions select what the keys say.
  EXPECT_TRUE(GroupMatches(group, Combination{4, 0, 0, 0, 0}));
  EXPECT_TRUE(ConditionMatches(flags, Combination{1, 0, kFlagData | kFlagMean, 2, 1}));
  EXPECT_FALSE(ConditionMatches(flags, Combination{1, 0, kFlagData | kFlagSet, 2, 1}));
  EXPECT_FALSE(ConditionMatches(flags, Combination{1, 0, kFlagData, 2, 0}));
}

TEST(GroupSchemaTest, CurrentGroupDefaultsToAllQuantities) {
  EXPECT_EQ(Groups(R"({ "groups": [] })").current_group, 0);
  EXPECT_THROW(Groups(R"({ "groups": [], "current_group": -1 })"), ToolError);
}

}  // namespace
}  // namespace tool
}  // namespace units
