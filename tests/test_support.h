// Shared fixtures: records and groups to build catalogues from, and a service
// attached to a temporary module folder per test.
#ifndef UNITS_TESTS_TEST_SUPPORT_H_
#define UNITS_TESTS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/catalogue.h"
#include "model/group_model.h"

namespace units {
namespace testing {

// The record fields are packed and may be misaligned, while gtest's macros
// bind their arguments to references: hand fields over as copies, Val(x).
template <typename T>
T Val(T value) {
  return value;
}

// A record in its initial state with the given identifier, name and symbol.
std::unique_ptr<t_quantity> MakeQuantity(uint16_t id, const char* name = "", const char* symbol = "");
// Sets unit slot `slot` of `quantity` as a defined unit.
void DefineUnit(t_quantity* quantity, int slot, const char* text, double factor, double offset);
// Defines and enables subquantity slot `slot` with these numbers and texts.
t_subquantity& DefineSlot(t_quantity* quantity, int slot, int32_t number, uint32_t flags, const char* name,
                          const char* symbol);

// A group in its initial state with this name and these conditions in use.
t_FilterEntry MakeGroup(const char* name, const std::vector<t_FilterCondition>& conditions = {});
// A condition in its initial state that applies the tests `tests`.
t_FilterCondition MakeCondition(uint16_t tests);

// Overrides one translation (or a device name) for the life of the object.
class ScopedTranslation {
 public:
  ScopedTranslation(const char* key, const char* text);
  ~ScopedTranslation();
  ScopedTranslation(const ScopedTranslation&) = delete;
  ScopedTranslation& operator=(const ScopedTranslation&) = delete;

 private:
  std::string key_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// A temporary folder per test: folder_ is the module folder (ending with
// '/'), data_ its data folder "Units/", where the registry store lies too.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string folder_;
  std::string data_;
};

// The service attached to the temporary module folder, as a host loading a
// library from there would find it. Attach() again after writing files.
class ServiceTest : public TempFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Attach();
  // Replaces catalogue and groups through the service (the dialogs' commit).
  void Install(QuantityTable records, std::vector<t_FilterEntry> groups = {}, int32_t group_index = 0);
};

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_TEST_SUPPORT_H_
