#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "tool_error.h"

namespace units {
namespace tool {

namespace {

// The same bounds as the shortest representations of most languages'
// number printers: 0.0001 and 1e15 still read well without an exponent.
constexpr int kSmallestPositionalExponent = -4;
constexpr int kLargestPositionalExponent = 15;

[[noreturn]] void Refuse(const std::string& text, const char* reason) {
  throw ToolError("\"" + text + "\" " + reason);
}

}  // namespace

double ParseDecimal(const std::string& text) {
  if (text.empty()) Refuse(text, "is not a number: the text is empty");
  const char* first = text.data();
  const char* const last = text.data() + text.size();
  // from_chars takes no plus sign; a second sign after it stays refused.
  if (*first == '+' && text.size() > 1 && first[1] != '-') ++first;
  double value = 0;
  const std::from_chars_result result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument || result.ptr != last) Refuse(text, "is not a number");
  if (result.ec == std::errc::result_out_of_range) Refuse(text, "is out of the range of a double");
  if (!std::isfinite(value)) Refuse(text, "is not a finite number");
  return value;
}

std::string FormatShortest(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char buffer[64];
  const std::to_chars_result scientific =
      std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::scientific);
  *scientific.ptr = '\0';
  const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  if (value != 0 && (exponent < kSmallestPositionalExponent || exponent > kLargestPositionalExponent)) {
    return std::string(buffer, scientific.ptr);
  }
  const std::to_chars_result positional =
      std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed);
  return std::string(buffer, positional.ptr);
}

}  // namespace tool
}  // namespace units
