#include "language/locale_name.h"

#include <algorithm>

namespace units {
namespace language {

namespace {

// Longer names are not locale names; the cap also bounds the folder paths.
constexpr size_t kMaxLocaleName = 128;

std::string FirstListEntry(const std::string& list) {
  size_t start = 0;
  while (start <= list.size()) {
    const size_t colon = std::min(list.find(':', start), list.size());
    if (colon > start) return list.substr(start, colon - start);
    start = colon + 1;
  }
  return std::string();
}

bool FitsFolderName(const std::string& part) {
  if (part.empty()) return false;
  for (const char c : part) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum && c != '-') return false;
  }
  return true;
}

}  // namespace

std::string ChooseLocaleName(const EnvironmentLookup& lookup) {
  struct Variable {
    const char* name;
    bool is_list;
  };
  static const Variable kVariables[] = {
      {"UNITS_LANG", false}, {"LANGUAGE", true}, {"LC_ALL", false}, {"LC_MESSAGES", false}, {"LANG", false},
  };
  for (const Variable& variable : kVariables) {
    const char* value = lookup(variable.name);
    if (value == nullptr || *value == '\0') continue;
    const std::string name = variable.is_list ? FirstListEntry(value) : std::string(value);
    if (!name.empty()) return name;
  }
  return std::string();
}

std::vector<std::string> CatalogueFolders(const std::string& locale_name) {
  if (locale_name.size() > kMaxLocaleName) return {};
  const size_t at = locale_name.find('@');
  const std::string modifier = at == std::string::npos ? std::string() : locale_name.substr(at + 1);
  const std::string before_modifier = locale_name.substr(0, at);
  const std::string without_codeset = before_modifier.substr(0, before_modifier.find('.'));
  const size_t underscore = without_codeset.find('_');
  const std::string language = without_codeset.substr(0, underscore);
  const std::string territory = underscore == std::string::npos ? std::string() : without_codeset.substr(underscore + 1);

  if (language == "C" || language == "POSIX" || !FitsFolderName(language)) return {};
  if (at != std::string::npos && !FitsFolderName(modifier)) return {};
  if (underscore != std::string::npos && !FitsFolderName(territory)) return {};

  std::vector<std::string> folders;
  const std::string with_territory = territory.empty() ? std::string() : language + "_" + territory;
  if (!modifier.empty()) {
    if (!with_territory.empty()) folders.push_back(with_territory + "@" + modifier);
    folders.push_back(language + "@" + modifier);
  }
  if (!with_territory.empty()) folders.push_back(with_territory);
  folders.push_back(language);
  return folders;
}

}  // namespace language
}  // namespace units
