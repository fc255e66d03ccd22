#include "service/enumerations.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "service/enumeration_records.h"
#include "service/group_query.h"

namespace units {

namespace {

int VariantCount(const t_quantity& quantity) {
  int variants = 0;
  for (const t_subquantity& slot : quantity.aSubQuantity) {
    if (IsActiveSlot(slot)) variants += PairCount(slot) == 0 ? 1 : PairCount(slot);
  }
  return variants;
}

// Number arrays are malloc blocks (UnitDeletePtr frees them); held here
// until all are made, so a failure leaves nothing behind.
struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using NumberBlock = std::unique_ptr<T[], FreeDeleter>;

template <typename T>
NumberBlock<T> AllocateNumbers(int count) {
  NumberBlock<T> block(static_cast<T*>(std::malloc(sizeof(T) * static_cast<size_t>(count))));
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

t_unitquantity* ListQuantities(const View& view, int* count) {
  std::vector<const t_quantity*> enabled;
  for (const auto& quantity : view.catalogue->Records()) {
    if (quantity->dwState & kQuantityEnabled) enabled.push_back(quantity.get());
  }
  *count = static_cast<int>(enabled.size());
  if (enabled.empty()) return nullptr;
  std::unique_ptr<t_unitquantity[]> records(new t_unitquantity[enabled.size()]);
  for (size_t i = 0; i < enabled.size(); ++i) FillBareQuantity(&records[i], *enabled[i], 0, 0, view.text_mode);
  return records.release();
}

t_unitquantity* ListSubQuantities(const View& view, uint16_t quantity, int* count) {
  *count = 0;
  const t_quantity* record = view.catalogue->Find(quantity);
  if (record == nullptr) return nullptr;
  const int variants = VariantCount(*record);
  std::unique_ptr<t_unitquantity[]> records(new t_unitquantity[variants == 0 ? 1 : variants]);
  if (variants == 0) {
    FillBareQuantity(&records[0], *record, kBareKind, kFlagData, view.text_mode);
    *count = 1;
    return records.release();
  }
  int filled = 0;
  for (const t_subquantity& slot : record->aSubQuantity) {
    if (!IsActiveSlot(slot)) continue;
    if (PairCount(slot) == 0) FillVariant(&records[filled++], *record, slot, 0, 0, view.text_mode);
    for (int k = 0; k < PairCount(slot); ++k) {
      FillVariant(&records[filled++], *record, slot, slot.awDevice[k], slot.awIndex[k], view.text_mode);
    }
  }
  *count = filled;
  return records.release();
}

t_unitquantity* ListAllQuantities(const View& view, bool use_select_list, int* count) {
  return RunGroupQuery(view, QueryScope{use_select_list ? view.select_list.get() : nullptr, nullptr}, count);
}

bool ListAsNumberArrays(const View& view, NumberArrays* arrays) {
  *arrays = NumberArrays();
  int count = 0;
  std::unique_ptr<t_unitquantity[]> records(ListAllQuantities(view, false, &count));
  if (count <= 0) return false;
  auto devices = AllocateNumbers<unsigned short>(count);
  auto quantities = AllocateNumbers<unsigned short>(count);
  auto subquantities = AllocateNumbers<int>(count);
  auto indexes = AllocateNumbers<unsigned short>(count);
  auto flags = AllocateNumbers<unsigned long>(count);
  for (int i = 0; i < count; ++i) {
    devices[i] = records[i].wDevice;
    quantities[i] = records[i].wQuantity;
    subquantities[i] = records[i].lSubQuantity;
    indexes[i] = records[i].wIndex;
    flags[i] = records[i].dwFlags;
  }
  arrays->devices = devices.release();
  arrays->quantities = quantities.release();
  arrays->subquantities = subquantities.release();
  arrays->indexes = indexes.release();
  arrays->flags = flags.release();
  arrays->count = count;
  return true;
}

}  // namespace units
