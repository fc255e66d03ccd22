// The application object every Qt widget needs. A Qt host's own QApplication
// is used as it is; a host without one gets one made here, once, and kept
// for the life of the process.
#ifndef UNITS_DIALOGS_APPLICATION_H_
#define UNITS_DIALOGS_APPLICATION_H_

#include <string>

namespace units {
namespace dialogs {

// True when widgets can be shown on this thread; otherwise false with the
// reason in `why`. Never aborts the host: with no display the offscreen
// platform is taken and reported as failure, since a dialog nobody can see
// would block the host for ever.
bool EnsureApplication(std::string* why);

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_APPLICATION_H_
