// Options that apply to every command and may stand anywhere on the line.
#ifndef UNITS_TOOLS_UNITSTOOL_GLOBAL_OPTIONS_H_
#define UNITS_TOOLS_UNITSTOOL_GLOBAL_OPTIONS_H_

#include <string>
#include <vector>

namespace units {
namespace tool {

// Removes "--lang LANG" and "--lang=LANG" from `arguments` and applies them:
// LANG becomes UNITS_LANG of this process. The translation service reads
// that variable on every call, so this works as long as it runs before the
// first text is printed. False, with `error` set, for a missing or empty
// LANG or a second --lang.
bool ApplyGlobalOptions(std::vector<std::string>* arguments, std::string* error);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_GLOBAL_OPTIONS_H_
