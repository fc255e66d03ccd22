#include "dialogs/application.h"

#include <QApplication>
#include <QByteArray>
#include <QThread>

#include <cstdlib>

namespace units {
namespace dialogs {
namespace {

// The platforms asked for: the host's choice, else a real display. A list
// ends with "offscreen", so that some platform always loads: Qt aborts the
// process when none of the list does.
QByteArray RequestedPlatforms() {
  const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
  return chosen.isEmpty() ? QByteArrayLiteral("xcb;wayland") : chosen;
}

bool AsksForOffscreen(const QByteArray& platforms) { return platforms.split(';').contains("offscreen"); }

QApplication* MakeApplication(const QByteArray& platforms) {
  // QApplication keeps argc and argv for its whole life, and it lives until
  // the process ends (deleting it under a host's feet is not safe).
  static QByteArray program("units");
  static QByteArray platform_option("-platform");
  static QByteArray platform_list;
  platform_list = AsksForOffscreen(platforms) ? platforms : platforms + ";offscreen";
  static char* argv[] = {program.data(), platform_option.data(), platform_list.data(), nullptr};
  static int argc = 3;
  return new QApplication(argc, argv);
}

}  // namespace

bool EnsureApplication(std::string* why) {
  // Made here: the platform is ours to check. A host's own application shows
  // its windows where the host chose, offscreen included.
  static bool made_here = false;
  QCoreApplication* existing = QCoreApplication::instance();
  if (existing == nullptr) {
    existing = MakeApplication(RequestedPlatforms());
    made_here = true;
  } else if (qobject_cast<QApplication*>(existing) == nullptr) {
    *why = "the host's application object is not a QApplication";
    return false;
  }
  if (existing->thread() != QThread::currentThread()) {
    *why = "dialogs must run on the thread of the application object";
    return false;
  }
  if (made_here && QGuiApplication::platformName() == QLatin1String("offscreen") &&
      !AsksForOffscreen(RequestedPlatforms())) {
    *why = "no usable display (set DISPLAY, or QT_QPA_PLATFORM)";
    return false;
  }
  return true;
}

}  // namespace dialogs
}  // namespace units
