#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/catalogue.h"
#include "model/conversion.h"
#include "model/group_model.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace {

// t_unitquantity starts with its table pointer; offsetof still gives its fields' offsets.
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#define F(Type, member, offset, width) \
  Field { #Type "::" #member, offsetof(Type, member), sizeof(Type::member), offset, width }

// Stored data is read field by field, and hosts read t_unitquantity in place:
// every field keeps its offset and width. t_unitquantity's fields follow its
// table pointer: 8 bytes on x86-64, 4 in a 32-bit Windows host.
TEST(RecordLayoutTest, FieldsSitAtTheirOffsets) {
  constexpr size_t kTable = sizeof(void*);
  struct Field { const char* name; size_t offset, width, expected_offset, expected_width; };
  const Field fields[] = {
      F(t_quantityunit, dFactor, 0, 8), F(t_quantityunit, dOffset, 8, 8), F(t_quantityunit, szText, 16, 21),
      F(t_quantityunit, wState, 37, 2), F(t_subquantity, lSubQuan, 0, 4), F(t_subquantity, szName, 4, 41),
      F(t_subquantity, szSymbol, 45, 21), F(t_subquantity, szText, 66, 21), F(t_subquantity, wState, 87, 2),
      F(t_subquantity, dwFlags, 89, 4), F(t_subquantity, wCount, 93, 2), F(t_subquantity, awDevice, 95, 100),
      F(t_subquantity, awIndex, 195, 100), F(t_quantity, wId, 0, 2), F(t_quantity, szName, 2, 41),
      F(t_quantity, szSymbol, 43, 21), F(t_quantity, szText, 64, 21), F(t_quantity, dwState, 85, 4),
      F(t_quantity, dwUnit, 89, 4), F(t_quantity, aUnit, 93, 390), F(t_quantity, aSubQuantity, 483, 2950),
      F(t_FilterCondition, wQuantity, 0, 2), F(t_FilterCondition, lSubQuan, 2, 4),
      F(t_FilterCondition, dwFlagValue, 6, 4), F(t_FilterCondition, wDevice, 10, 2),
      F(t_FilterCondition, wIndex, 12, 2), F(t_FilterCondition, wTests, 14, 2), F(t_FilterCondition, dwFlagMask, 16, 4),
      F(t_FilterEntry, szName, 0, 300), F(t_FilterEntry, lCount, 300, 4), F(t_FilterEntry, aCondition, 304, 2000),
      F(t_unitquantity, wQuantity, kTable, 2), F(t_unitquantity, lSubQuantity, kTable + 2, 4),
      F(t_unitquantity, wKind, kTable + 6, 2), F(t_unitquantity, wDevice, kTable + 8, 2),
      F(t_unitquantity, wIndex, kTable + 10, 2), F(t_unitquantity, dwFlags, kTable + 12, 4),
      F(t_unitquantity, szName, kTable + 16, 41), F(t_unitquantity, szSymbol, kTable + 57, 21),
  };
  for (const Field& f : fields) {
    EXPECT_EQ(std::make_pair(f.offset, f.width), std::make_pair(f.expected_offset, f.expected_width)) << f.name;
  }
  EXPECT_EQ(sizeof(t_unitquantity), kTable + 78);  // the model records' sizes are asserted where they are declared
}

// A unit index of 10 or more comes only from damaged data: it reads as the base unit, never as memory behind the ten
// slots. A catalogue built from another's records shares them: they outlive the catalogue they came from.
TEST(CatalogueTest, FindGivesTheFirstRecordWithAnIdentifierAndSharedRecordsOutliveTheirCatalogue) {
  const struct { uint16_t id; uint32_t unit; int slot; } records[] = {
      {7, 3, 3}, {0, 9, 9}, {7, 1, 3}, {65535, 10, 0}, {1, 0x10003, 0}, {2, 0xFFFFFFFF, 0}};
  QuantityTable table;
  for (const auto& r : records) table.emplace_back(testing::MakeQuantity(r.id))->dwUnit = r.unit;
  auto catalogue = MakeCatalogue(std::move(table));
  for (int32_t i = 0; i < catalogue->Count(); ++i) {
    const t_quantity* record = catalogue->Find(records[i].id);
    ASSERT_EQ(record, &catalogue->At(records[i].id == 7 ? 0 : i));
    EXPECT_EQ(catalogue->CurrentUnitOf(records[i].id), &record->aUnit[records[i].slot]) << i;
    EXPECT_EQ(&CurrentUnit(*record), &record->aUnit[records[i].slot]) << i;
  }
  EXPECT_TRUE(catalogue->Find(8) == nullptr && catalogue->CurrentUnitOf(8) == nullptr);
  const auto empty = MakeCatalogue(QuantityTable());
  EXPECT_TRUE(empty->Find(0) == nullptr && empty->CurrentUnitOf(0) == nullptr);
  const t_quantity* shared = &catalogue->At(1);
  const auto second = MakeCatalogue(catalogue->Records());
  catalogue.reset();
  EXPECT_TRUE(second->Find(0) == shared && second->CurrentUnitOf(0) == &shared->aUnit[9] && shared->dwUnit == 9);
}

// The field lies between guard bytes: CopyText fills exactly its width.
TEST(CopyTextTest, CutsInsideTheWidthAtACharacterBoundary) {
  const struct { const char* text; size_t width; const char* expected; } cases[] = {
      {"abc", 6, "abc"}, {"abcdef", 6, "abcde"}, {nullptr, 6, ""}, {"abc", 1, ""}, {"abc", 0, ""},
      {"abcd\xC2\xB0", 6, "abcd"},                   // the degree sign would be split
      {"ab\xE2\x82\xAC" "cd", 6, "ab\xE2\x82\xAC"},  // the euro sign fits whole
      {"ab\xF0\x9F\x98\x80", 6, "ab"},
      {"abc\xC2\x80\x80", 6, "abc\xC2\x80"},  // a stray continuation byte is cut at the limit
      {"abcd\xB0\xB0", 6, "abcd\xB0"},        // Windows-1252 bytes too
      {"caf\xE9\xE9", 5, "caf\xE9"}};
  for (const auto& c : cases) {
    char buffer[10];
    std::memset(buffer, '#', sizeof(buffer));
    CopyText(buffer + 1, c.width, c.text);
    const std::string expected = "#" + std::string(c.expected) + std::string(c.width - std::strlen(c.expected), '\0') +
                                 std::string(sizeof(buffer) - 1 - c.width, '#');
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), expected) << (c.text ? c.text : "(null)") << " in " << c.width;
  }
}

const std::pair<Direction, bool> kForms[] = {{Direction::kToCurrent, true}, {Direction::kToCurrent, false},
                                             {Direction::kToBase, true}, {Direction::kToBase, false}};

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

// The array loops run in several vector widths; every element must still be the single-value result, in
// place and apart, tails included; overlapping arrays convert element by element in order. The factors and
// offsets make results that a fused multiply-add would round otherwise. Adding an offset of +0 would turn a
// difference of -0 into +0.
TEST(ConversionTest, ArraysEqualTheSingleValueFormBitForBit) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> values(-1e6, 1e6);
  const double units[][2] = {{1.8, 32.0}, {1.0 / 3.0, -273.15}, {6894.757293168361, 1e-3}, {1e-9, 0.1}};
  for (const auto& [direction, absolute] : kForms) {
    const auto one = [direction = direction, absolute = absolute](double value, double factor, double offset) {
      return ConvertValue(direction, value, factor, offset, absolute);
    };
    EXPECT_TRUE(absolute || std::signbit(one(-0.0, 1.8, 32.0)));
    for (const auto& [factor, offset] : units) {
      for (size_t count : {1, 2, 3, 7, 8, 9, 17, 64, 1001}) {
        std::vector<double> input(count), apart(count);
        for (double& value : input) value = values(random);
        input[0] = -0.0;
        std::vector<double> in_place = input;
        ConvertValues(direction, input.data(), apart.data(), count, factor, offset, absolute);
        ConvertValues(direction, in_place.data(), in_place.data(), count, factor, offset, absolute);
        for (size_t i = 0; i < count; ++i) {
          ASSERT_TRUE(SameBits(apart[i], one(input[i], factor, offset))) << i << " of " << count;
          ASSERT_TRUE(SameBits(in_place[i], one(input[i], factor, offset))) << "in place, " << i << " of " << count;
        }
      }
    }
    for (int shift : {-9, -3, -1, 1, 2, 5, 9}) {
      std::vector<double> buffer(48);
      for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = 0.5 + static_cast<double>(i);
      std::vector<double> expected = buffer;
      const size_t in = 12, out = static_cast<size_t>(12 + shift), count = 24;
      for (size_t i = 0; i < count; ++i) expected[out + i] = one(expected[in + i], 1.8, 0.1);
      ConvertValues(direction, buffer.data() + in, buffer.data() + out, count, 1.8, 0.1, absolute);
      for (size_t i = 0; i < buffer.size(); ++i) ASSERT_TRUE(SameBits(buffer[i], expected[i])) << shift << ", " << i;
    }
  }
}

TEST(FindUnitFactorsTest, TakesTheFirstDefinedUnitWhoseTextMatchesByteForByte) {
  // Damaged slot 6 has no terminator: its text runs on into the state bytes 01 00.
  const std::string twenty(20, 'w'), past_the_field = std::string(21, 'w') + "\x01";
  auto quantity = testing::MakeQuantity(1);
  const char* texts[] = {"K", "\xC2\xB0" "F", "x", "x", twenty.c_str(), "x", ""};
  for (int slot = 0; slot < 7; ++slot) testing::DefineUnit(quantity.get(), slot, texts[slot], slot + 1.0, slot / 2.0);
  quantity->aUnit[2].wState = 2;                               // not defined: skipped
  std::memset(quantity->aUnit[6].szText, 'w', kSymbolWidth);
  const std::pair<const char*, int> cases[] = {{"K", 0},  {"\xC2\xB0" "F", 1}, {"x", 3},  {twenty.c_str(), 4},
                                               {"k", -1}, {"K ", -1},          {"", -1}, {past_the_field.c_str(), -1},
                                               {nullptr, -1}};
  for (const auto& [text, slot] : cases) {
    double factor = -1.0, offset = -1.0;
    EXPECT_EQ(FindUnitFactors(*quantity, text, &factor, &offset), slot >= 0) << slot;
    EXPECT_EQ(factor, slot >= 0 ? slot + 1.0 : -1.0) << slot;
    EXPECT_EQ(offset, slot >= 0 ? slot / 2.0 : -1.0) << slot;
  }
}

}  // namespace
}  // namespace units
