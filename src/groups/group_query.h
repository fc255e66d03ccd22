// The group query: every variant of the catalogue a host may offer. A variant
// belongs to an enabled quantity and an enabled subquantity slot (or is the
// bare quantity when it has no active slot), passes the select-list
// restriction and is selected by the chosen group.
#ifndef UNITS_GROUPS_GROUP_QUERY_H_
#define UNITS_GROUPS_GROUP_QUERY_H_

#include <cstdint>

#include "groups/group_model.h"
#include "units.h"

namespace units {

struct QueryScope {
  bool use_select_list = true;
  // The group that restricts the result; null for "All quantities".
  const t_FilterEntry* group = nullptr;
};

// The scope of the exported query: the select list and the current group
// (an index past the group table counts as "All quantities").
QueryScope CurrentScope();

bool IsInFilter(const QueryScope& scope, const Combination& candidate);

// Runs the query into an array of exactly `*count` records, allocated as
// UnitDeleteArray releases it; null and 0 when nothing passes.
t_unitquantity* RunGroupQuery(const QueryScope& scope, int* count);

}  // namespace units

#endif  // UNITS_GROUPS_GROUP_QUERY_H_
