// Shared fixtures: a fresh module state and a temporary data folder per test.
#ifndef UNITS_TESTS_TEST_SUPPORT_H_
#define UNITS_TESTS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "groups/group_model.h"

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

// A group in its initial state with this name and these conditions in use.
t_FilterEntry MakeGroup(const char* name, const std::vector<t_FilterCondition>& conditions = {});
// A condition in its initial state that applies the tests `tests`.
t_FilterCondition MakeCondition(uint16_t tests);

// Replaces the catalogue with these records.
void InstallCatalogue(std::vector<std::unique_ptr<t_quantity>> records);

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

// Resets every module-wide value, the catalogue and the groups, and points
// the data and log folders at a temporary folder of this test.
class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string folder_;  // ends with '/'
};

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_TEST_SUPPORT_H_
