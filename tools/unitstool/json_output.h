// JSON text for people: objects and arrays that fit on one line stay on one
// line (a unit, a device/index pair, a condition), larger ones are indented.
#ifndef UNITS_TOOLS_UNITSTOOL_JSON_OUTPUT_H_
#define UNITS_TOOLS_UNITSTOOL_JSON_OUTPUT_H_

#include <string>

#include "json_node.h"

namespace units {
namespace tool {

// Ends with a newline. Texts are written as UTF-8, not as \u escapes.
std::string FormatJson(const Json& value);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_JSON_OUTPUT_H_
