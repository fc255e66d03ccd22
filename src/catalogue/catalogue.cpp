#include "catalogue/catalogue.h"

#include <utility>

namespace units {

namespace {
constexpr size_t kIdentifierCount = 65536;
uint16_t g_wTextMode = 0;
}  // namespace

Catalogue::Catalogue() : first_record_(kIdentifierCount, nullptr) {}

void Catalogue::Replace(QuantityTable records) {
  for (const auto& record : records_) first_record_[record->wId] = nullptr;
  records_ = std::move(records);
  for (const auto& record : records_) {
    t_quantity*& first = first_record_[record->wId];
    if (first == nullptr) first = record.get();
  }
}

namespace internal {

Catalogue* g_catalogue = nullptr;

Catalogue& CreateCatalogue() {
  if (g_catalogue == nullptr) g_catalogue = new Catalogue;
  return *g_catalogue;
}

}  // namespace internal

uint16_t TextMode() { return g_wTextMode; }
void SetTextMode(uint16_t mode) { g_wTextMode = mode; }

}  // namespace units
