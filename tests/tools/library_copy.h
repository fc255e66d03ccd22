// unitstool run against a private copy of the built library: the copy's data
// folder can hold any catalogue and can be watched for writes, and the build
// tree's own data folder is never touched.
#ifndef UNITS_TESTS_TOOLS_LIBRARY_COPY_H_
#define UNITS_TESTS_TOOLS_LIBRARY_COPY_H_

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "tools/tool_runner.h"

namespace units {
namespace testing {

// Every file below a folder: size, modification time and bytes.
struct FileState {
  uintmax_t size = 0;
  int64_t modified = 0;  // nanoseconds of the file clock
  std::string bytes;
  bool operator==(const FileState& other) const {
    return size == other.size && modified == other.modified && bytes == other.bytes;
  }
};
using FolderState = std::map<std::string, FileState>;
FolderState Snapshot(const std::string& folder);

// The fixture copies libunits.so and liblanguage.so into lib/ of its
// temporary folder, and the built data folder (catalogue, groups, locale)
// into lib/Units/; the tool then loads the copy through LD_LIBRARY_PATH,
// which the tool's run path gives way to.
class LibraryCopyTest : public ToolTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string DataFolder() const { return Path("lib/Units/"); }
  // Builds `source` into the copy's DEFAULT.UDF (or DEFAULT.FDF for groups).
  void InstallCatalogue(const nlohmann::json& source);
  void InstallGroups(const nlohmann::json& source);

 private:
  void Install(const nlohmann::json& source, const std::string& file);
  std::optional<std::string> saved_library_path_;
  std::optional<std::string> saved_registry_;
};

// The sources the default data folder is built from.
nlohmann::json DefaultCatalogueSource();
nlohmann::json DefaultGroupsSource();

// msgid -> msgstr of the German catalogue source (single-line entries).
std::map<std::string, std::string> GermanTranslations();

// A factor or offset of a catalogue source: a JSON number or "p/q" with both
// operands exact in a double. Adds a failure for anything else.
double SourceNumber(const nlohmann::json& value);

// Subquantity flag names of a source, as the flag word.
uint32_t SourceFlags(const nlohmann::json& names);

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_TOOLS_LIBRARY_COPY_H_
