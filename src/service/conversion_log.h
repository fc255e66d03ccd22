// The two optional log files: "KEY.LOG" gets a line per conversion and
// "UNITSQUAN.LOG" a line per symbol asked of a quantity that does not exist.
#ifndef UNITS_SERVICE_CONVERSION_LOG_H_
#define UNITS_SERVICE_CONVERSION_LOG_H_

#include <cstdint>
#include <string>

#include "model/conversion.h"

namespace units {

// Nothing happens for an empty path; a line that cannot be written is left
// out, the conversion itself is unaffected.
void WriteConversionLog(const std::string& path, Direction direction, uint16_t quantity, bool ok) noexcept;
void WriteMissingQuantityLog(const std::string& path, uint16_t quantity, int16_t subquantity, uint32_t flags,
                             uint16_t device, uint16_t index) noexcept;

}  // namespace units

#endif  // UNITS_SERVICE_CONVERSION_LOG_H_
