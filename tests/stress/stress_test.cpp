// Readers on four threads while a writer reloads, switches the text mode,
// registers variants and changes the group 1,000 times. Run under
// ThreadSanitizer by test.sh; in the ordinary runs it checks the results.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "model/fdf_format.h"
#include "model/udf_format.h"
#include "service/service.h"
#include "test_support.h"
#include "units.h"

namespace units {
namespace testing {
namespace {

constexpr uint16_t kQuantity = 7;
constexpr int kWriterRounds = 1000;

// The two catalogues the writer switches between: the same quantity with
// another current unit, so that every result tells which one it came from.
struct Variant {
  const char* unit;
  double factor;
  double offset;
};
constexpr Variant kDefault{"\xC2\xB0" "F", 1.8, 32.0};
constexpr Variant kFileOnly{"K", 1.0, 273.15};

std::string CatalogueBytes(const Variant& variant) {
  QuantityTable records;
  for (uint16_t id = 1; id <= 20; ++id) {
    auto quantity = MakeQuantity(id, "Temperature", "T");
    quantity->dwState = kQuantityEnabled;
    DefineUnit(quantity.get(), 0, "\xC2\xB0" "C", 1.0, 0.0);
    DefineUnit(quantity.get(), 1, variant.unit, variant.factor, variant.offset);
    quantity->dwUnit = 1;
    DefineSlot(quantity.get(), 0, 1, kFlagData, "Inlet", "Ti");
    records.push_back(std::move(quantity));
  }
  return EncodeUdf(records, 1, 0);
}

double Converted(const Variant& variant, double base) { return base * variant.factor + variant.offset; }

// The catalogue a result came from, or null for neither.
const Variant* Source(double result, double base) {
  if (result == Converted(kDefault, base)) return &kDefault;
  if (result == Converted(kFileOnly, base)) return &kFileOnly;
  return nullptr;
}

class StressTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    WriteWholeFile(data_ + "DEFAULT.UDF", CatalogueBytes(kDefault));
    WriteWholeFile(data_ + "AppUnits.UDF", CatalogueBytes(kFileOnly));
    std::vector<t_FilterEntry> groups = {MakeGroup("Temperatures", {MakeCondition(kTestQuantity)})};
    WriteWholeFile(data_ + "DEFAULT.FDF", EncodeFdf(groups, 0));
    Attach();
  }

  // Returns the number of results that matched neither catalogue.
  int Read(int seed) {
    int wrong = 0;
    std::vector<double> values(64), results(64);
    char names[512];
    for (int round = 0; !done_.load(std::memory_order_relaxed); ++round) {
      const double base = seed * 1000 + round % 1000;
      double single = 0.0;
      if (!UnitGetCurrent(kQuantity, base, single) || Source(single, base) == nullptr) ++wrong;
      for (size_t i = 0; i < values.size(); ++i) values[i] = base + static_cast<double>(i);
      if (!UnitGetCurrent(kQuantity, values.data(), results.data(), static_cast<int>(values.size()))) ++wrong;
      // One array, one catalogue: every element from the same one.
      const Variant* source = Source(results[0], values[0]);
      for (size_t i = 0; i < values.size(); ++i) {
        if (source == nullptr || results[i] != Converted(*source, values[i])) ++wrong;
      }
      const std::string unit = UnitGetUnitText(kQuantity);
      if (unit != kDefault.unit && unit != kFileOnly.unit) ++wrong;
      if (std::string(UnitGetName(kQuantity, 1, kFlagData, 0, 0)) != "Inlet") ++wrong;
      UnitGetSymbol(kQuantity, 1, kFlagData, static_cast<uint16_t>(round % 5), 1, false);
      UnitGetUnitTextEx(kQuantity);
      UnitExistQuantity(kQuantity, 1, kFlagData, 0, 0);
      UnitGetFilterEntries(names, sizeof(names));
      float f = 0, o = 0;
      if (!UnitGetFactors(kQuantity, "\xC2\xB0" "C", f, o) || f != 1.0f) ++wrong;
      int count = 0;
      t_unitquantity* list = UnitGetAllFilterQuantities(count);
      UnitDeleteArray(list);
      if (UnitGetSubQuantities(kQuantity, list, count)) UnitDeleteArray(list);
    }
    return wrong;
  }

  std::atomic<bool> done_{false};
};

TEST_F(StressTest, ReadersSeeTheOldOrTheNewCatalogueNeverAnythingElse) {
  std::vector<int> wrong(4, 0);
  std::vector<std::thread> readers;
  for (int r = 0; r < 4; ++r) readers.emplace_back([this, r, &wrong] { wrong[r] = Read(r); });
  uint16_t file_only = 0;
  for (int round = 0; round < kWriterRounds; ++round) {
    switch (round % 5) {
      case 0:
        file_only = static_cast<uint16_t>((round / 5) % 2);
        UnitSetValue(101, &file_only, sizeof(file_only));
        break;
      case 1:
        UnitSetTextMode(static_cast<unsigned char>(round % 2));
        break;
      case 2:
        // Only while nothing is saved: a save per round would time the disk.
        if (file_only == 0) {
          UnitAddDeviceIndex(kQuantity, 1, kFlagData, static_cast<uint16_t>(round % 7 + 1),
                             static_cast<uint16_t>(round));
        }
        break;
      case 3:
        UnitSetFilterIndex(round % 2);
        break;
      default:
        UnitAddSelectList(kQuantity, 1, kFlagData, 0, 0, 0);
        UnitClearSelectList();
        break;
    }
  }
  done_ = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

// Old views wait for their readers, up to eight of them; then the writer waits.
TEST_F(ServiceTest, AWriterWaitsForAReaderOnlyWhenOldViewsWouldPileUp) {
  std::atomic<bool> inside{false}, release{false};
  std::thread reader([&] {
    TheService().Reading(0, [&](const View&) {
      inside = true;
      while (!release) std::this_thread::yield();
      return 0;
    });
  });
  while (!inside) std::this_thread::yield();
  std::atomic<int> published{0};
  std::thread writer([&] {
    for (int i = 0; i < 9; ++i, ++published) UnitSetTextMode(static_cast<unsigned char>(i % 2));
  });
  for (int i = 0; i < 2000 && published < 8; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(published.load(), 8);
  release = true;
  reader.join();
  writer.join();
  EXPECT_EQ(published.load(), 9);
}

}  // namespace
}  // namespace testing
}  // namespace units
