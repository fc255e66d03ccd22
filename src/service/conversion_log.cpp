#include "service/conversion_log.h"

#include <cstdio>

#include "platform/files.h"

namespace units {

void WriteConversionLog(const std::string& path, Direction direction, uint16_t quantity, bool ok) noexcept {
  if (path.empty()) return;
  std::FILE* file = std::fopen(path.c_str(), platform::kAppendMode);
  if (file == nullptr) return;
  std::fprintf(file, direction == Direction::kToCurrent ? "ToCurrent(%i) : %s\n" : "ToBase(%i) : %s\n",
               static_cast<int>(quantity), ok ? "OK" : "Fail");
  std::fclose(file);
}

void WriteMissingQuantityLog(const std::string& path, uint16_t quantity, int16_t subquantity, uint32_t flags,
                             uint16_t device, uint16_t index) noexcept {
  if (path.empty()) return;
  std::FILE* file = std::fopen(path.c_str(), platform::kAppendMode);
  if (file == nullptr) return;
  std::fprintf(file, "Not found - Quan: %u SubQuan: %u Flags: %lu Device: %u Index: %u\n",
               static_cast<unsigned>(quantity), static_cast<unsigned>(static_cast<int32_t>(subquantity)),
               static_cast<unsigned long>(flags), static_cast<unsigned>(device), static_cast<unsigned>(index));
  std::fclose(file);
}

}  // namespace units
