// Switching the storage location.
#include <cstring>
#include <string>

#include "api/export_guard.h"
#include "units.h"

namespace {

constexpr size_t kMaxRegistryPath = 1999;
constexpr size_t kMaxUserPart = 199;

std::string Bounded(const char* text, size_t limit) {
  if (text == nullptr) return std::string();
  return std::string(text, strnlen(text, limit));
}

}  // namespace

// No result: a null path changes nothing.
void UnitChangeUserInfo(char* path, char* user, unsigned short number) {
  units::Guarded(false, [&] {
    if (path != nullptr) {
      units::TheService().ChangeUserInfo(Bounded(path, kMaxRegistryPath), Bounded(user, kMaxUserPart), number);
    }
    return true;
  });
}

bool UnitChangeUDF(char* path, char* user, char* file) {
  return units::Guarded(false, [&] {
    if (path == nullptr || file == nullptr) return false;
    return units::TheService().ChangeUdf(Bounded(path, kMaxRegistryPath), Bounded(user, kMaxUserPart),
                                         std::string(file));
  });
}
