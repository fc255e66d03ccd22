#include "service/device_names.h"

#include <cstdio>
#include <cstring>

#include "language.h"
#include "platform/ascii.h"

namespace units {

std::string Translate(const char* text, int selector) { return LangGetText(text, selector); }

std::string DeviceName(uint16_t device) {
  char key[16];
  std::snprintf(key, sizeof(key), LANG_DEVICE_KEY_FORMAT, static_cast<int>(device));
  std::string name = Translate(key, 0);
  if (EqualsIgnoreCase(name, LANG_NO_DEVICE_NAME)) name.clear();
  return name;
}

std::string ComposeWithRegistration(const char* base, uint16_t device, uint16_t index) {
  const std::string name = DeviceName(device);
  if (index == 0) return base + name;
  const std::string key = name + std::to_string(index);
  const char* answer = LangGetText(key.c_str(), 0);
  if (std::strcmp(answer, key.c_str()) != 0) return base + std::string(answer);
  return base + key;
}

std::string VariantSymbol(const char* base, uint16_t device, uint16_t index) {
  if (device != 0) return ComposeWithRegistration(base, device, index);
  if (index != 0) return base + std::to_string(index);
  return base;
}

}  // namespace units
