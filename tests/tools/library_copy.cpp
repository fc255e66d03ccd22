#include "tools/library_copy.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace units {
namespace testing {

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

void Restore(const char* name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

// The text between the first and the last quote of a .po line, unescaped.
std::string PoString(const std::string& line) {
  const size_t first = line.find('"');
  const size_t last = line.rfind('"');
  std::string text;
  for (size_t i = first + 1; i < last; ++i) {
    if (line[i] == '\\' && i + 1 < last) ++i;
    text += line[i];
  }
  return text;
}

}  // namespace

FolderState Snapshot(const std::string& folder) {
  FolderState state;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    FileState file;
    file.modified = entry.last_write_time().time_since_epoch().count();
    if (entry.is_regular_file()) {
      file.size = entry.file_size();
      file.bytes = ReadAll(entry.path().string());
    }
    state[name] = file;
  }
  return state;
}

void LibraryCopyTest::SetUp() {
  ToolTest::SetUp();
  const fs::path lib = Path("lib");
  fs::create_directories(lib / "Units");
  fs::copy_file(UNITS_LIBRARY_PATH, lib / fs::path(UNITS_LIBRARY_PATH).filename());
  fs::copy_file(UNITS_LANGUAGE_PATH, lib / fs::path(UNITS_LANGUAGE_PATH).filename());
  const std::string built = BuiltDataFolder();
  for (const char* name : {"DEFAULT.UDF", "DEFAULT.FDF"}) fs::copy_file(built + name, lib / "Units" / name);
  fs::copy(built + "locale", lib / "Units" / "locale", fs::copy_options::recursive);
  saved_library_path_ = Environment("LD_LIBRARY_PATH");
  saved_registry_ = Environment("UNITS_REGISTRY_DB");
  setenv("LD_LIBRARY_PATH", lib.c_str(), 1);
  // The registry database then lies in the watched data folder.
  unsetenv("UNITS_REGISTRY_DB");
}

void LibraryCopyTest::TearDown() {
  Restore("LD_LIBRARY_PATH", saved_library_path_);
  Restore("UNITS_REGISTRY_DB", saved_registry_);
  ToolTest::TearDown();
}

void LibraryCopyTest::InstallCatalogue(const nlohmann::json& source) { Install(source, "DEFAULT.UDF"); }
void LibraryCopyTest::InstallGroups(const nlohmann::json& source) { Install(source, "DEFAULT.FDF"); }

void LibraryCopyTest::Install(const nlohmann::json& source, const std::string& file) {
  Write("source.json", source.dump());
  const ToolResult build = Run({"build", Path("source.json"), "-o", DataFolder() + file});
  ASSERT_EQ(build.exit_code, 0) << build.err;
}

nlohmann::json DefaultCatalogueSource() {
  return nlohmann::json::parse(ReadAll(std::string(UNITS_TEST_SOURCE_DATA) + "default_units.json"));
}

nlohmann::json DefaultGroupsSource() {
  return nlohmann::json::parse(ReadAll(std::string(UNITS_TEST_SOURCE_DATA) + "default_groups.json"));
}

std::map<std::string, std::string> GermanTranslations() {
  std::istringstream in(ReadAll(std::string(UNITS_TEST_SOURCE_DATA) + "locale/de/units.po"));
  std::map<std::string, std::string> translations;
  std::string line, id;
  bool have_id = false;
  while (std::getline(in, line)) {
    if (line.rfind("msgid \"", 0) == 0) {
      id = PoString(line);
      have_id = true;
    } else if (have_id && line.rfind("msgstr \"", 0) == 0) {
      if (!id.empty()) translations[id] = PoString(line);
      have_id = false;
    } else if (!line.empty() && line[0] == '"') {
      have_id = false;  // a continued string: not a single-line entry
    }
  }
  return translations;
}

double SourceNumber(const nlohmann::json& value) {
  if (value.is_number()) return value.get<double>();
  std::string text = value.get<std::string>();
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.erase(0, 1);
  const size_t slash = text.find('/');
  const uint64_t p = std::stoull(text.substr(0, slash));
  const uint64_t q = slash == std::string::npos ? 1 : std::stoull(text.substr(slash + 1));
  constexpr uint64_t kExact = uint64_t{1} << 53;
  if (p > kExact || q > kExact) ADD_FAILURE() << text << " is not exact in doubles; the test cannot derive it";
  const double quotient = static_cast<double>(p) / static_cast<double>(q);
  return negative ? -quotient : quotient;
}

uint32_t SourceFlags(const nlohmann::json& names) {
  static const std::map<std::string, uint32_t> kBits = {
      {"Set", 0x1},          {"Error", 0x2},     {"Data", 0x4},      {"Calculated", 0x200}, {"Function", 0x400},
      {"Corrected", 0x800}, {"Mean", 0x10000}, {"Smooth", 0x20000}, {"Offset", 0x40000},  {"Equi", 0x80000}};
  uint32_t flags = 0;
  for (const auto& name : names) flags |= name.is_number() ? name.get<uint32_t>() : kBits.at(name.get<std::string>());
  return flags;
}

}  // namespace testing
}  // namespace units
