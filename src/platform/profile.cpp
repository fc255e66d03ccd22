#include "platform/profile.h"

#include <fstream>
#include <string_view>

#include "platform/ascii.h"

namespace units {
namespace platform {

namespace {

std::string_view Trim(std::string_view text) {
  const char* kBlanks = " \t\r\n\f\v";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The section name of a "[name]" line, or false for any other line.
bool SectionName(std::string_view line, std::string_view* name) {
  if (line.empty() || line.front() != '[') return false;
  const size_t close = line.find(']');
  *name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  return true;
}

std::string Fit(std::string_view value, size_t buffer_size) {
  if (buffer_size == 0) return std::string();
  return std::string(value.substr(0, buffer_size - 1));
}

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& default_value, size_t buffer_size) {
  std::ifstream in(path, std::ios::binary);
  bool in_section = false;
  std::string raw;
  bool first_line = true;
  while (in && std::getline(in, raw)) {
    std::string_view line(raw);
    if (first_line && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    first_line = false;
    line = Trim(line);
    std::string_view name;
    if (SectionName(line, &name)) {
      in_section = EqualsIgnoreCase(name, section);
      continue;
    }
    if (!in_section) continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (EqualsIgnoreCase(Trim(line.substr(0, equals)), key)) {
      return Fit(Unquote(Trim(line.substr(equals + 1))), buffer_size);
    }
  }
  return Fit(default_value, buffer_size);
}

}  // namespace platform
}  // namespace units
