#include "model/catalogue.h"

#include <utility>

namespace units {

Catalogue::Catalogue() { BuildIndex(); }

Catalogue::Catalogue(QuantityTable records) {
  records_.reserve(records.size());
  for (auto& record : records) records_.push_back(SharedQuantity(std::move(record)));
  BuildIndex();
}

Catalogue::Catalogue(std::vector<SharedQuantity> records) : records_(std::move(records)) { BuildIndex(); }

namespace {
const Catalogue::Page kEmptyPage = {};  // every identifier unknown
}  // namespace

void Catalogue::BuildIndex() {
  Page* writable[kPageCount] = {};
  for (const SharedQuantity& record : records_) {
    Page*& page = writable[record->wId >> kPageBits];
    if (page == nullptr) {
      own_pages_.push_back(std::make_unique<Page>());
      page = own_pages_.back().get();
    }
    Entry& entry = page->entries[record->wId & (kPageSize - 1)];
    if (entry.record != nullptr) continue;
    entry.record = record.get();
    entry.unit = &CurrentUnit(*record);
    entry.factor = entry.unit->dFactor;
    entry.offset = entry.unit->dOffset;
  }
  for (size_t i = 0; i < kPageCount; ++i) pages_[i] = writable[i] != nullptr ? writable[i] : &kEmptyPage;
}

std::shared_ptr<const Catalogue> MakeCatalogue(QuantityTable records) {
  return std::make_shared<const Catalogue>(std::move(records));
}

std::shared_ptr<const Catalogue> MakeCatalogue(std::vector<SharedQuantity> records) {
  return std::make_shared<const Catalogue>(std::move(records));
}

}  // namespace units
