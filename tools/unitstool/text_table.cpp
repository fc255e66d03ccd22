#include "text_table.h"

#include <algorithm>

#include "model/text_codec.h"

namespace units {
namespace tool {

size_t DisplayWidth(const std::string& text) {
  if (!IsValidUtf8(text)) return text.size();
  // Continuation bytes (10xxxxxx) add no character.
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void TextTable::Print(std::FILE* out) const {
  std::vector<size_t> widths;
  for (const auto& row : rows_) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(row[i]));
  }
  for (const auto& row : rows_) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line.append(widths[i] - DisplayWidth(row[i]) + 2, ' ');
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), out);
  }
}

}  // namespace tool
}  // namespace units
