// The catalogue: one immutable table of quantity records, as loaded or as
// committed. A new table is a new Catalogue; a published one never changes,
// so any number of threads may read it while the next one is built.
//
// Lookups take the first record with the identifier in table order, through
// an index built once with the table: a lookup costs the same for every
// position, and finding the current display unit is a single load.
#ifndef UNITS_MODEL_CATALOGUE_H_
#define UNITS_MODEL_CATALOGUE_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "model/quantity.h"

namespace units {

// Records as decoded, before they join a catalogue.
using QuantityTable = std::vector<std::unique_ptr<t_quantity>>;
// Records of a catalogue; a new catalogue shares the ones it does not change.
using SharedQuantity = std::shared_ptr<const t_quantity>;

class Catalogue {
 public:
  Catalogue();
  explicit Catalogue(QuantityTable records);
  explicit Catalogue(std::vector<SharedQuantity> records);
  Catalogue(const Catalogue&) = delete;
  Catalogue& operator=(const Catalogue&) = delete;

  int32_t Count() const { return static_cast<int32_t>(records_.size()); }
  const t_quantity& At(int32_t position) const { return *records_[static_cast<size_t>(position)]; }
  const std::vector<SharedQuantity>& Records() const { return records_; }

  // First record with this identifier, or null.
  const t_quantity* Find(uint16_t id) const { return index_[id].record; }
  // Current display unit of that record, or null.
  const t_quantityunit* CurrentUnitOf(uint16_t id) const { return index_[id].unit; }

 private:
  struct Entry {
    const t_quantity* record;
    const t_quantityunit* unit;
  };
  static constexpr size_t kIdentifierCount = 65536;

  void BuildIndex();

  std::vector<SharedQuantity> records_;
  // Inline, so that the hot lookup needs no further pointer.
  Entry index_[kIdentifierCount];
};

// Makes a catalogue on the heap. The index is 1 MiB: never on the stack.
std::shared_ptr<const Catalogue> MakeCatalogue(QuantityTable records);
std::shared_ptr<const Catalogue> MakeCatalogue(std::vector<SharedQuantity> records);

}  // namespace units

#endif  // UNITS_MODEL_CATALOGUE_H_
