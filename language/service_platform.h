// What the service needs from the operating system besides reading files.
#ifndef UNITS_LANGUAGE_SERVICE_PLATFORM_H_
#define UNITS_LANGUAGE_SERVICE_PLATFORM_H_

#include <string>

namespace units {
namespace language {

// The folder of the loaded module that holds this code (liblanguage.so, or
// a test program linking the internals), ending with '/'; "./" if unknown.
std::string ModuleFolder();

// One line to the debug channel: the file named by UNITS_DEBUG_LOG, or stderr
// when it says "stderr"; nothing when unset. Read at every line so that a
// host or a test can redirect it at run time.
void DebugLine(const std::string& line);

}  // namespace language
}  // namespace units

#endif  // UNITS_LANGUAGE_SERVICE_PLATFORM_H_
