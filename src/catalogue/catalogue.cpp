#include "catalogue/catalogue.h"

#include <utility>

namespace units {

namespace {
constexpr size_t kIdentifierCount = 65536;
uint16_t g_wTextMode = 0;
}  // namespace

Catalogue::Catalogue() : first_position_(kIdentifierCount, -1) {}

void Catalogue::Replace(QuantityTable records) {
  for (const auto& record : records_) first_position_[record->wId] = -1;
  records_ = std::move(records);
  for (size_t i = 0; i < records_.size(); ++i) {
    int32_t& slot = first_position_[records_[i]->wId];
    if (slot < 0) slot = static_cast<int32_t>(i);
  }
}

Catalogue& TheCatalogue() {
  // Never destroyed: detach may run after ordinary statics are gone.
  static Catalogue& catalogue = *new Catalogue;
  return catalogue;
}

uint16_t TextMode() { return g_wTextMode; }
void SetTextMode(uint16_t mode) { g_wTextMode = mode; }

}  // namespace units
