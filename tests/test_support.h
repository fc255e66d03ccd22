// Shared fixtures: a fresh module state and a temporary data folder per test.
#ifndef UNITS_TESTS_TEST_SUPPORT_H_
#define UNITS_TESTS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"

namespace units {
namespace testing {

// A record in its initial state with the given identifier, name and symbol.
std::unique_ptr<t_quantity> MakeQuantity(uint16_t id, const char* name = "", const char* symbol = "");

// Sets unit slot `slot` of `quantity` as a defined unit.
void DefineUnit(t_quantity* quantity, int slot, const char* text, double factor, double offset);

// Replaces the catalogue with these records.
void InstallCatalogue(std::vector<std::unique_ptr<t_quantity>> records);

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
