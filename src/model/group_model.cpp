#include "model/group_model.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace units {

void InitCondition(t_FilterCondition* condition) {
  std::memset(condition, 0, sizeof(*condition));
  condition->lSubQuan = -1;
}

void InitFilterEntry(t_FilterEntry* entry) {
  std::memset(entry, 0, sizeof(*entry));
  for (t_FilterCondition& condition : entry->aCondition) InitCondition(&condition);
}

bool ConditionMatches(const t_FilterCondition& condition, const Combination& c) {
  const uint16_t tests = condition.wTests;
  if ((tests & kTestQuantity) && c.quantity != condition.wQuantity) return false;
  if ((tests & kTestSubQuantity) && c.subquantity != condition.lSubQuan) return false;
  if ((tests & kTestFlags) && (c.flags & condition.dwFlagMask) != condition.dwFlagValue) return false;
  if ((tests & kTestDevice) && c.device != condition.wDevice) return false;
  if ((tests & kTestIndex) && c.index != condition.wIndex) return false;
  return true;
}

// The count is copied first: a reference to a field of a packed record may
// be misaligned.
int32_t ConditionsInUse(const t_FilterEntry& entry) {
  const int32_t count = entry.lCount;
  return std::clamp<int32_t>(count, 0, kMaxConditions);
}

bool GroupMatches(const t_FilterEntry& entry, const Combination& combination) {
  const int32_t count = ConditionsInUse(entry);
  for (int32_t i = 0; i < count; ++i) {
    if (ConditionMatches(entry.aCondition[i], combination)) return true;
  }
  return false;
}

void GroupTable::Replace(std::vector<t_FilterEntry> entries) {
  entries_ = std::move(entries);
  current_ = 0;
}

bool GroupTable::SetCurrentIndex(int32_t index) {
  if (index < 0 || index > Count()) return false;
  current_ = index;
  return true;
}

const t_FilterEntry* GroupTable::CurrentGroup() const {
  if (current_ < 1 || current_ > Count()) return nullptr;
  return &entries_[current_ - 1];
}

int WriteGroupNames(const GroupTable& groups, char* buffer, unsigned long size) {
  static const char kAll[] = "All quantities";
  constexpr unsigned long kAllLength = sizeof(kAll) - 1;
  // The first name and its double NUL take 16 bytes; a smaller buffer gets
  // nothing rather than a write past its end.
  if (buffer == nullptr || size < kAllLength + 2) return 0;
  std::memcpy(buffer, kAll, kAllLength + 1);
  unsigned long position = kAllLength + 1;
  buffer[position] = '\0';
  int written = 1;
  for (const t_FilterEntry& entry : groups.Entries()) {
    const unsigned long length = strnlen(entry.szName, sizeof(entry.szName) - 1);
    if (position + length + 3 > size) break;
    std::memcpy(buffer + position, entry.szName, length);
    buffer[position + length] = '\0';
    position += length + 1;
    buffer[position] = '\0';
    ++written;
  }
  return written;
}

}  // namespace units
