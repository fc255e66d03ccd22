#include "model/catalogue.h"

#include <cstring>
#include <utility>

namespace units {

Catalogue::Catalogue() { BuildIndex(); }

Catalogue::Catalogue(QuantityTable records) {
  records_.reserve(records.size());
  for (auto& record : records) records_.push_back(SharedQuantity(std::move(record)));
  BuildIndex();
}

Catalogue::Catalogue(std::vector<SharedQuantity> records) : records_(std::move(records)) { BuildIndex(); }

void Catalogue::BuildIndex() {
  std::memset(static_cast<void*>(index_), 0, sizeof(index_));
  for (const SharedQuantity& record : records_) {
    Entry& entry = index_[record->wId];
    if (entry.record != nullptr) continue;
    entry.record = record.get();
    entry.unit = &CurrentUnit(*record);
  }
}

std::shared_ptr<const Catalogue> MakeCatalogue(QuantityTable records) {
  return std::make_shared<const Catalogue>(std::move(records));
}

std::shared_ptr<const Catalogue> MakeCatalogue(std::vector<SharedQuantity> records) {
  return std::make_shared<const Catalogue>(std::move(records));
}

}  // namespace units
