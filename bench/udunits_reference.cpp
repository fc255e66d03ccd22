#include "udunits_reference.h"

#include <cmath>

Udunits& TheUdunits() {
  static Udunits udunits;
  return udunits;
}

void OpenUdunits() {
  Udunits& u = TheUdunits();
  // The database loader reports every redefinition it meets on stderr.
  ut_set_error_message_handler(ut_ignore);
  u.system = ut_read_xml(nullptr);
  if (u.system == nullptr) {
    u.error = "UDUNITS-2 unit database not found or unreadable (ut_read_xml(NULL) status " +
              std::to_string(static_cast<int>(ut_get_status())) +
              "); install libudunits2-data or set UDUNITS2_XML_PATH to udunits2.xml";
    return;
  }
  u.celsius = ut_parse(u.system, "degree_Celsius", UT_ASCII);
  u.fahrenheit = ut_parse(u.system, "degree_Fahrenheit", UT_ASCII);
  if (u.celsius != nullptr && u.fahrenheit != nullptr) {
    u.to_fahrenheit = ut_get_converter(u.celsius, u.fahrenheit);
    u.to_celsius = ut_get_converter(u.fahrenheit, u.celsius);
  }
  if (u.to_fahrenheit == nullptr || u.to_celsius == nullptr) {
    u.error = "UDUNITS-2 has no converter between degree_Celsius and degree_Fahrenheit";
    return;
  }
  // The converter must do the library's conversion. It goes through kelvin and
  // rankine, so its slope and intercept are not exactly 1.8 and 32.
  if (std::fabs(cv_convert_double(u.to_fahrenheit, 100.0) - 212.0) > 1e-9) {
    u.error = "UDUNITS-2 does not convert 100 degC to 212 degF";
  }
}

void CloseUdunits() {
  Udunits& u = TheUdunits();
  cv_free(u.to_fahrenheit);
  cv_free(u.to_celsius);
  ut_free(u.celsius);
  ut_free(u.fahrenheit);
  ut_free_system(u.system);
}

const cv_converter* UdunitsConverter(bool to_fahrenheit) {
  const Udunits& u = TheUdunits();
  if (!u.error.empty()) return nullptr;
  return to_fahrenheit ? u.to_fahrenheit : u.to_celsius;
}
