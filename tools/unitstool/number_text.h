// Numbers on the command line and in the output of convert.
#ifndef UNITS_TOOLS_UNITSTOOL_NUMBER_TEXT_H_
#define UNITS_TOOLS_UNITSTOOL_NUMBER_TEXT_H_

#include <string>

namespace units {
namespace tool {

// A finite decimal number as people write it: optional sign, digits with an
// optional point, optional exponent ("-40", "1.5e3", ".5"). Independent of
// the locale. Throws ToolError for anything else: an empty text, blanks,
// trailing characters, hexadecimal forms, "inf" and "nan", and values
// beyond the range of a double.
double ParseDecimal(const std::string& text);

// The shortest text that reads back to the same double, in positional
// notation for exponents -4..15 and in scientific notation otherwise;
// "inf", "-inf" and "nan" for the values that have no digits.
std::string FormatShortest(double value);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_NUMBER_TEXT_H_
