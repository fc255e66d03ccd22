// The catalogue: the one table of quantity records the library serves, and the
// text mode that chooses between symbols and their plain-text forms.
//
// Every load and every commit replaces the table as a whole; pointers to
// records do not survive a replacement. Lookups take the first record with the
// identifier in table order, through an index that is rebuilt at each
// replacement, so a lookup costs the same for every position.
#ifndef UNITS_CATALOGUE_CATALOGUE_H_
#define UNITS_CATALOGUE_CATALOGUE_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "catalogue/quantity.h"

namespace units {

using QuantityTable = std::vector<std::unique_ptr<t_quantity>>;

class Catalogue {
 public:
  Catalogue();

  // Takes the records in their order and releases the previous ones.
  void Replace(QuantityTable records);
  void Clear() { Replace(QuantityTable()); }

  int32_t Count() const { return static_cast<int32_t>(records_.size()); }
  t_quantity* At(int32_t position) const { return records_[position].get(); }
  const QuantityTable& Records() const { return records_; }

  // First record with this identifier, or null.
  t_quantity* Find(uint16_t id) const { return first_record_[id]; }

 private:
  QuantityTable records_;
  // The first record for every identifier, null if none: one load per lookup.
  std::vector<t_quantity*> first_record_;
};

namespace internal {
extern Catalogue* g_catalogue;
Catalogue& CreateCatalogue();
}  // namespace internal

// The one catalogue, made on first use and never destroyed (detach may run
// after ordinary statics are gone). Inline: every conversion looks it up.
inline Catalogue& TheCatalogue() {
  Catalogue* catalogue = internal::g_catalogue;
  return catalogue != nullptr ? *catalogue : internal::CreateCatalogue();
}

inline t_quantity* FindQuantity(uint16_t id) { return TheCatalogue().Find(id); }

// 0 = symbol mode, 1 = text mode.
uint16_t TextMode();
void SetTextMode(uint16_t mode);

}  // namespace units

#endif  // UNITS_CATALOGUE_CATALOGUE_H_
