// The group query: every variant of the catalogue a host may offer. A variant
// belongs to an enabled quantity and an enabled subquantity slot (or is the
// bare quantity when it has no active slot), passes the select-list
// restriction and is selected by the chosen group.
#ifndef UNITS_SERVICE_GROUP_QUERY_H_
#define UNITS_SERVICE_GROUP_QUERY_H_

#include <cstdint>

#include "model/group_model.h"
#include "model/select_list.h"
#include "service/view.h"
#include "units.h"

namespace units {

struct QueryScope {
  // The select list that restricts the result; null for none.
  const t_unitselectlist* select_list = nullptr;
  // The group that restricts the result; null for "All quantities".
  const t_FilterEntry* group = nullptr;
};

// The scope of the exported query: the select list and the current group
// (an index past the group table counts as "All quantities").
QueryScope CurrentScope(const View& view);

bool IsInFilter(const QueryScope& scope, const Combination& candidate);

// Runs the query into an array of exactly `*count` records, allocated as
// UnitDeleteArray releases it; null and 0 when nothing passes.
t_unitquantity* RunGroupQuery(const View& view, const QueryScope& scope, int* count);

}  // namespace units

#endif  // UNITS_SERVICE_GROUP_QUERY_H_
