// The catalogue: one immutable table of quantity records, as loaded or as
// committed. A new table is a new Catalogue; a published one never changes,
// so any number of threads may read it while the next one is built.
//
// Lookups take the first record with the identifier in table order, through
// an index built once with the table: a lookup costs the same for every
// position, two loads, with no branch on the identifier.
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

  // What the index keeps per identifier: the first record with it (null if
  // none), its current display unit, and that unit's factor and offset in
  // the entry itself, so a conversion needs no further load.
  struct Entry {
    const t_quantity* record;
    const t_quantityunit* unit;
    double factor;
    double offset;
  };
  const Entry& EntryOf(uint16_t id) const { return pages_[id >> kPageBits]->entries[id & (kPageSize - 1)]; }

  // First record with this identifier, or null.
  const t_quantity* Find(uint16_t id) const { return EntryOf(id).record; }
  // Current display unit of that record, or null.
  const t_quantityunit* CurrentUnitOf(uint16_t id) const { return EntryOf(id).unit; }

  static constexpr int kPageBits = 8;
  static constexpr size_t kPageSize = size_t{1} << kPageBits;
  struct Page {
    Entry entries[kPageSize];
  };

 private:
  // Identifiers in pages of 256; a page without records is the shared empty
  // page, so a catalogue of a few quantities costs a few kilobytes, not the
  // megabyte a flat index of every identifier would.
  void BuildIndex();

  std::vector<SharedQuantity> records_;
  static constexpr size_t kPageCount = size_t{1} << (16 - kPageBits);
  const Page* pages_[kPageCount];
  std::vector<std::unique_ptr<Page>> own_pages_;
};

// Makes a shared catalogue.
std::shared_ptr<const Catalogue> MakeCatalogue(QuantityTable records);
std::shared_ptr<const Catalogue> MakeCatalogue(std::vector<SharedQuantity> records);

}  // namespace units

#endif  // UNITS_MODEL_CATALOGUE_H_
