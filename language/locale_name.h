// Which catalogue the environment asks for. Only the environment counts, never
// the host's setlocale, so the same process settings always give the same texts.
#ifndef UNITS_LANGUAGE_LOCALE_NAME_H_
#define UNITS_LANGUAGE_LOCALE_NAME_H_

#include <functional>
#include <string>
#include <vector>

namespace units {
namespace language {

// Looks up an environment variable; null when unset. Tests pass their own.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The locale name from the first of UNITS_LANG, LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG that is set and not empty. LANGUAGE is a colon list
// of which the first non-empty entry counts. "" when none is set.
std::string ChooseLocaleName(const EnvironmentLookup& lookup);

// The catalogue folders to try for a locale name of the form
// language[_territory][.codeset][@modifier], most specific first, in the
// order gettext uses: "de_DE.UTF-8@euro" gives de_DE@euro, de@euro, de_DE, de.
// The codeset is dropped because every catalogue is UTF-8. "C", "POSIX",
// "" and names with characters unfit for a folder name (a '/' could leave
// the locale folder) give no folder: no translation.
std::vector<std::string> CatalogueFolders(const std::string& locale_name);

}  // namespace language
}  // namespace units

#endif  // UNITS_LANGUAGE_LOCALE_NAME_H_
