#include "platform/profile.h"

#include <cstdio>
#include <string_view>

#include "platform/ascii.h"
#include "platform/files.h"

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

// The whole file, or "" when it cannot be read. Opened close-on-exec, so a
// program the host starts meanwhile does not inherit it.
std::string ReadAll(const std::string& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), kReadBinaryMode);
  if (file == nullptr) return text;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof(chunk), file)) > 0) text.append(chunk, n);
  std::fclose(file);
  return text;
}

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& default_value, size_t buffer_size) {
  const std::string text = ReadAll(path);
  std::string_view rest(text);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  bool in_section = false;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = Trim(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
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
