// Columns for people: every column as wide as its widest cell, two blanks
// between columns, no padding after the last one.
#ifndef UNITS_TOOLS_UNITSTOOL_TEXT_TABLE_H_
#define UNITS_TOOLS_UNITSTOOL_TEXT_TABLE_H_

#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace units {
namespace tool {

// Columns on a terminal: characters of UTF-8 text, bytes of any other text
// (the library keeps Windows-1252 texts of old files as they are).
size_t DisplayWidth(const std::string& text);

class TextTable {
 public:
  void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  void Print(std::FILE* out) const;

 private:
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_TEXT_TABLE_H_
