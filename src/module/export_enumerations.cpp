// Enumerations and the group query. Every form sets its outputs to null and
// 0 first, so a failure never leaves a caller with a stale pointer.
#include "catalogue/enumerations.h"
#include "groups/group_query.h"
#include "module/export_guard.h"
#include "units.h"

using units::Guarded;

namespace {

template <typename Run>
bool ListInto(t_unitquantity*& list, int& count, Run run) {
  list = nullptr;
  count = 0;
  return Guarded(false, [&] {
    int filled = 0;
    list = run(&filled);
    count = filled;
    return list != nullptr;
  });
}

}  // namespace

bool UnitGetQuantities(t_unitquantity*& list, int& count) {
  return ListInto(list, count, [](int* n) { return units::ListQuantities(n); });
}

bool UnitGetQuantities(unsigned short*& devices, unsigned short*& quantities, int*& subquantities,
                       unsigned short*& indexes, unsigned long*& flags, int& count) {
  devices = quantities = indexes = nullptr;
  subquantities = nullptr;
  flags = nullptr;
  count = 0;
  return Guarded(false, [&] {
    units::NumberArrays arrays;
    if (!units::ListAsNumberArrays(&arrays)) return false;
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
  return ListInto(list, count, [&](int* n) { return units::ListSubQuantities(quantity, n); });
}

bool UnitGetAllQuantities(t_unitquantity*& list, int& count) {
  ListInto(list, count, [](int* n) { return units::ListAllQuantities(true, n); });
  return !units::Module().refused;
}

t_unitquantity* UnitGetAllQuantities(int& count) {
  t_unitquantity* list = nullptr;
  ListInto(list, count, [](int* n) { return units::ListAllQuantities(true, n); });
  return list;
}

bool UnitGetAllUnfilteredQuantities(t_unitquantity*& list, int& count) {
  ListInto(list, count, [](int* n) { return units::ListAllQuantities(false, n); });
  return !units::Module().refused;
}

bool UnitGetAllFilterQuantities(t_unitquantity*& list, int& count) {
  return ListInto(list, count, [](int* n) { return units::RunGroupQuery(units::CurrentScope(), n); });
}

t_unitquantity* UnitGetAllFilterQuantities(int& count) {
  t_unitquantity* list = nullptr;
  ListInto(list, count, [](int* n) { return units::RunGroupQuery(units::CurrentScope(), n); });
  return list;
}
