// How long a host waits for a dialog: from calling UnitOpenSelectUnitDlg to
// the first frame of the dialog, for the first call of a process (plugin
// load, QApplication, platform and fonts) and for later calls. And whether a
// host that never opens a dialog maps Qt at all: that is the reason the
// dialogs are a plugin.
//
// dialog_bench                      everything below, each in a process of its own
// dialog_bench --platform NAME      the dialog timings on Qt platform NAME
// dialog_bench_probe                (the same source without Qt) the Qt mappings of a host
//
// The bench links the same shared Qt as the plugin. Before the first call it
// registers a pre-routine, so that the QApplication the plugin makes gets an
// application-wide event filter: the first paint inside the dialog marks the
// frame, and a zero timer, which runs once that frame is flushed, takes the
// time and closes the dialog with Cancel. Nothing is saved.
#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#ifndef UNITS_DIALOG_BENCH_PROBE
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include "units.h"
#endif

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned short kQuantity = 5;  // Pressure in the default catalogue: 8 units

// Mappings of the Qt 6 libraries in this process, and how many libraries.
void CountQtMappings(int* mappings, int* libraries) {
  std::ifstream maps("/proc/self/maps");
  std::vector<std::string> seen;
  *mappings = 0;
  for (std::string line; std::getline(maps, line);) {
    const size_t at = line.find("libQt6");
    if (at == std::string::npos) continue;
    ++*mappings;
    const std::string name = line.substr(at);
    if (std::find(seen.begin(), seen.end(), name) == seen.end()) seen.push_back(name);
  }
  *libraries = static_cast<int>(seen.size());
}

}  // namespace

#ifdef UNITS_DIALOG_BENCH_PROBE

// A host that loads the library at run time and converts, as most do; then
// what its first dialog call adds before any Qt code runs: loading the
// plugin, which brings Qt in.
int main() {
  void* library = dlopen(UNITS_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "dialog_bench_probe: %s\n", dlerror());
    return 1;
  }
  // bool UnitGetCurrent(unsigned short, double, double&), by its mangled name.
  using Convert = bool (*)(unsigned short, double, double&);
  auto convert = reinterpret_cast<Convert>(dlsym(library, "_Z14UnitGetCurrenttdRd"));
  double result = 0;
  const bool converted = convert != nullptr && convert(kQuantity, 101325.0, result);
  int mappings = 0, libraries = 0;
  CountQtMappings(&mappings, &libraries);
  std::printf("host that loads libunits.so and converts (%s): %d libQt6 mappings\n",
              converted ? "ok" : "failed", mappings);
  std::string plugin = UNITS_LIBRARY_PATH;
  plugin = plugin.substr(0, plugin.rfind('/') + 1) + "libunits_dialogs.so";
  const Clock::time_point start = Clock::now();
  const bool loaded = dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL) != nullptr;
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  int after = 0;
  CountQtMappings(&after, &libraries);
  if (loaded) {
    std::printf("its first dialog call loads the plugin and %d libQt6 libraries: %.1f ms (not in the figures below,\n"
                "  whose program links Qt)\n", libraries, ms);
  }
  return mappings == 0 && loaded ? 0 : 1;
}

#else

namespace {

constexpr int kLaterCalls = 5;
constexpr int kWatchdogMs = 20000;  // a dialog that never paints is closed

// Watches every event of the application for the dialog's first frame.
class FirstFrame : public QObject {
 public:
  void Arm() {
    armed_ = true;
    painted_ = false;
  }
  bool painted() const { return painted_; }
  Clock::time_point at() const { return at_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!armed_ || !watched->isWidgetType()) return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    if (std::strcmp(window->metaObject()->className(), "TUnitSelectDlg") != 0) return false;
    auto* dialog = static_cast<QDialog*>(window);
    if (event->type() == QEvent::Show && watched == window) {
      QTimer::singleShot(kWatchdogMs, dialog, &QDialog::reject);
    } else if (event->type() == QEvent::Paint) {  // an update request may come before the window is exposed
      armed_ = false;
      QPointer<QDialog> open(dialog);
      QTimer::singleShot(0, this, [this, open] {
        at_ = Clock::now();
        painted_ = true;
        if (open != nullptr) open->reject();
      });
    }
    return false;
  }

 private:
  bool armed_ = false;
  bool painted_ = false;
  Clock::time_point at_;
};

FirstFrame* first_frame = nullptr;

// Runs inside the QApplication constructor, in the plugin's first call.
void WatchTheApplication() { qApp->installEventFilter(first_frame); }

// Milliseconds from the call to the first frame; negative if none came.
double TimeOneCall() {
  first_frame->Arm();
  const Clock::time_point start = Clock::now();
  UnitOpenSelectUnitDlg(kQuantity, 0);
  if (!first_frame->painted()) return -1;
  return std::chrono::duration<double, std::milli>(first_frame->at() - start).count();
}

int MeasurePlatform(const char* platform) {
  // Offscreen must be asked for: the plugin takes it as "no display" otherwise.
  setenv("QT_QPA_PLATFORM", platform, 1);
  first_frame = new FirstFrame;  // lives as long as the plugin's application
  qAddPreRoutine(WatchTheApplication);
  const double first = TimeOneCall();
  if (first < 0) {
    std::printf("[%s] select-unit dialog not shown (UNITS_DEBUG_LOG=stderr tells why)\n", platform);
    return 1;
  }
  const double second = TimeOneCall();
  std::vector<double> later;
  for (int i = 0; i < kLaterCalls; ++i) later.push_back(TimeOneCall());
  std::sort(later.begin(), later.end());
  int mappings = 0, libraries = 0;
  CountQtMappings(&mappings, &libraries);
  std::printf("[%s] select-unit dialog, first call: %.1f ms to first frame\n", platform, first);
  std::printf("[%s] select-unit dialog, second call: %.1f ms (median of %d more: %.1f ms)\n", platform, second,
              kLaterCalls, later[later.size() / 2]);
  std::printf("[%s] after the dialogs: %d libQt6 libraries mapped in this process\n", platform, libraries);
  return 0;
}

int RunChild(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::fflush(stdout);
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return 1;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return 1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--platform") == 0) return MeasurePlatform(argv[2]);
  if (argc != 1) {
    std::fprintf(stderr, "usage: dialog_bench [--platform NAME]\n");
    return 2;
  }
  // Qt is linked into this program, so the probe is a program of its own.
  int failures = RunChild({UNITS_DIALOG_BENCH_PROBE_PATH}) != 0;
  failures += RunChild({argv[0], "--platform", "offscreen"}) != 0;
  const char* display = std::getenv("DISPLAY");
  if (display != nullptr && *display != '\0') {
    failures += RunChild({argv[0], "--platform", "xcb"}) != 0;
  } else {
    std::printf("[xcb] not measured: DISPLAY is not set\n");
  }
  return failures == 0 ? 0 : 1;
}

#endif
