// Enumerations and the group query. Every form sets its outputs to null and
// 0 first, so a failure never leaves a caller with a stale pointer.
#include "api/export_guard.h"
#include "service/enumerations.h"
#include "service/group_query.h"
#include "units.h"

using units::GuardedRead;
using units::View;

namespace {

// True when the query ran to its end, whether or not it found anything.
template <typename Run>
bool Completed(t_unitquantity*& list, int& count, Run run) {
  list = nullptr;
  count = 0;
  return GuardedRead(false, [&](const View& view) {
    int filled = 0;
    list = run(view, &filled);
    count = filled;
    return true;
  });
}

template <typename Run>
bool ListInto(t_unitquantity*& list, int& count, Run run) {
  return Completed(list, count, run) && list != nullptr;
}

t_unitquantity* AllQuantities(const View& view, int* count) { return units::ListAllQuantities(view, true, count); }
t_unitquantity* Unfiltered(const View& view, int* count) { return units::ListAllQuantities(view, false, count); }
t_unitquantity* Filtered(const View& view, int* count) {
  return units::RunGroupQuery(view, units::CurrentScope(view), count);
}

}  // namespace

bool UnitGetQuantities(t_unitquantity*& list, int& count) { return ListInto(list, count, units::ListQuantities); }

bool UnitGetQuantities(unsigned short*& devices, unsigned short*& quantities, int*& subquantities,
                       unsigned short*& indexes, unsigned long*& flags, int& count) {
  devices = quantities = indexes = nullptr;
  subquantities = nullptr;
  flags = nullptr;
  count = 0;
  return GuardedRead(false, [&](const View& view) {
    units::NumberArrays arrays;
    if (!units::ListAsNumberArrays(view, &arrays)) return false;
    devices = arrays.devices;
    quantities = arrays.quantities;
    subquantities = arrays.subquantities;
    indexes = arrays.indexes;
    flags = arrays.flags;
    count = arrays.count;
    return true;
  });
}

bool UnitGetSubQuantities(const unsigned short quantity, t_unitquantity*& list, int& count) {
  return ListInto(list, count, [&](const View& view, int* n) { return units::ListSubQuantities(view, quantity, n); });
}

// These two report true even for an empty list; only an inert library or a
// query that could not finish (out of memory) fails.
bool UnitGetAllQuantities(t_unitquantity*& list, int& count) { return Completed(list, count, AllQuantities); }

t_unitquantity* UnitGetAllQuantities(int& count) {
  t_unitquantity* list = nullptr;
  ListInto(list, count, AllQuantities);
  return list;
}

bool UnitGetAllUnfilteredQuantities(t_unitquantity*& list, int& count) {
  return Completed(list, count, Unfiltered);
}

bool UnitGetAllFilterQuantities(t_unitquantity*& list, int& count) { return ListInto(list, count, Filtered); }

t_unitquantity* UnitGetAllFilterQuantities(int& count) {
  t_unitquantity* list = nullptr;
  ListInto(list, count, Filtered);
  return list;
}
