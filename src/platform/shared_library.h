// Loading a shared library at run time, for the dialogs plugin: a host that
// never opens a dialog never maps the toolkit.
#ifndef UNITS_PLATFORM_SHARED_LIBRARY_H_
#define UNITS_PLATFORM_SHARED_LIBRARY_H_

#include <string>

namespace units {
namespace platform {

// Maps the library at `path` with all its symbols bound now; null, with the
// loader's reason in `error`, when it cannot. A loaded library stays loaded
// for the life of the process: its code may still be on some thread's stack.
void* OpenSharedLibrary(const std::string& path, std::string* error);

// The address of an exported symbol, or null.
void* FindSymbol(void* library, const char* name);

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_SHARED_LIBRARY_H_
