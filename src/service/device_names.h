// Device names from the translation service and the composition of a base
// text with a device/index registration.
#ifndef UNITS_SERVICE_DEVICE_NAMES_H_
#define UNITS_SERVICE_DEVICE_NAMES_H_

#include <cstdint>
#include <string>

namespace units {

// The display name of device `device`; empty when the service has none.
std::string DeviceName(uint16_t device);

// Base text + device name (+ index). With an index, the service may name the
// whole device-and-index combination: an answer for the key "<device
// name><index>" that differs from the key replaces both.
std::string ComposeWithRegistration(const char* base, uint16_t device, uint16_t index);

// The symbol of a variant as the enumerations show it: device 0 with an
// index gets the bare index, device 0 without one the base alone.
std::string VariantSymbol(const char* base, uint16_t device, uint16_t index);

// Copies the service's answer for `text` at once: the service only promises
// that it stays valid until its next call.
std::string Translate(const char* text, int selector = 1);

}  // namespace units

#endif  // UNITS_SERVICE_DEVICE_NAMES_H_
