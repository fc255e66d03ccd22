// Quantity groups ("filters"): named lists of up to 100 conditions, the group
// table and the current group index (0 = "All quantities", k = the k-th group).
#ifndef UNITS_MODEL_GROUP_MODEL_H_
#define UNITS_MODEL_GROUP_MODEL_H_

#include <cstdint>
#include <vector>

namespace units {

constexpr int kMaxConditions = 100;
constexpr int kGroupNameWidth = 300;

// wTests bits.
constexpr uint16_t kTestQuantity = 0x01;
constexpr uint16_t kTestSubQuantity = 0x02;
constexpr uint16_t kTestFlags = 0x04;
constexpr uint16_t kTestDevice = 0x08;
constexpr uint16_t kTestIndex = 0x10;

}  // namespace units

#pragma pack(push, 1)

struct t_FilterCondition {
  uint16_t wQuantity;
  int32_t lSubQuan;
  uint32_t dwFlagValue;  // bits that must be on (a subset of dwFlagMask)
  uint16_t wDevice;
  uint16_t wIndex;
  uint16_t wTests;
  uint32_t dwFlagMask;  // bits tested, on or off
};

struct t_FilterEntry {
  char szName[units::kGroupNameWidth];
  int32_t lCount;  // conditions in use
  t_FilterCondition aCondition[units::kMaxConditions];
};

#pragma pack(pop)

static_assert(sizeof(t_FilterCondition) == 20, "t_FilterCondition has no gaps");
static_assert(sizeof(t_FilterEntry) == 2304, "t_FilterEntry has no gaps");

namespace units {

// One combination that a group may select.
struct Combination {
  uint16_t quantity;
  int32_t subquantity;
  uint32_t flags;
  uint16_t device;
  uint16_t index;
};

void InitCondition(t_FilterCondition* condition);
void InitFilterEntry(t_FilterEntry* entry);

bool ConditionMatches(const t_FilterCondition& condition, const Combination& combination);
// Any of the conditions in use matches. A count outside 0..100 (damaged
// stored data) is read as the nearest bound.
bool GroupMatches(const t_FilterEntry& entry, const Combination& combination);
int32_t ConditionsInUse(const t_FilterEntry& entry);

class GroupTable {
 public:
  const std::vector<t_FilterEntry>& Entries() const { return entries_; }
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }

  // Replaces the table; the current index becomes 0.
  void Replace(std::vector<t_FilterEntry> entries);
  void Clear() { Replace({}); }

  int32_t CurrentIndex() const { return current_; }
  // False, and no change, outside 0..Count().
  bool SetCurrentIndex(int32_t index);
  // The current group, or null for "All quantities" and for an index that
  // points past the table.
  const t_FilterEntry* CurrentGroup() const;

 private:
  std::vector<t_FilterEntry> entries_;
  int32_t current_ = 0;
};

// Writes "All quantities" and the group names as a list of NUL-terminated
// names ended by an empty one, up to the first name that does not fit whole.
// Never writes past `size`. Returns the number of names written.
int WriteGroupNames(const GroupTable& groups, char* buffer, unsigned long size);

}  // namespace units

#endif  // UNITS_MODEL_GROUP_MODEL_H_
