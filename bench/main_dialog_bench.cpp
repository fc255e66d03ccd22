// What the main dialog costs a user: the time from creating it to its first
// painted frame, with the default catalogue and with 1,000 quantities; the
// time of "Close" with 1,000 quantities (the new catalogue, its publication
// and the save into the store); and the memory the open dialog holds.
//
// main_dialog_bench   run under a display (xvfb-run -a) or QT_QPA_PLATFORM=offscreen
//
// The service is the library's own, attached to a folder of its own with
// the built default data and a registry store there, and the dialog talks
// to it through the same host object that UnitEdit gives the plugin.
#include <QApplication>
#include <QEvent>
#include <QPushButton>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "api/library_host.h"
#include "dialogs/main_dialog.h"
#include "dialogs/qt_toolkit_services.h"
#include "service/service.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kRuns = 7;
constexpr int kLargeCatalogue = 1000;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A value of /proc/self/status in KiB, e.g. "VmRSS" or "VmHWM".
long StatusKiB(const char* key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + line.find(':') + 1);
  }
  return -1;
}

class FirstPaint : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

struct OpenDialog {
  std::unique_ptr<TUnitMainDlg> dialog;
  double ms = 0;
};

// Creates the dialog on the library's state and waits for its first frame.
OpenDialog Open(units::LibraryHost* host, units::dialogs::ToolkitServices* toolkit) {
  OpenDialog open;
  FirstPaint paint;
  const Clock::time_point start = Clock::now();
  const units::dialogs::DialogContext context{units::TheService().DialogSettingsCopy(), toolkit};
  open.dialog = std::make_unique<TUnitMainDlg>(nullptr, host, context);
  open.dialog->installEventFilter(&paint);
  open.dialog->show();
  while (!paint.painted) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QApplication::processEvents();
  open.ms = Milliseconds(start, Clock::now());
  open.dialog->removeEventFilter(&paint);
  return open;
}

// Copies of the default catalogue's quantities under identifiers 1..count,
// each with a name of its own.
void UseLargeCatalogue(int count) {
  units::StoredContents contents = units::TheService().ContentsCopy();
  const auto& model = contents.catalogue->Records();
  std::vector<units::SharedQuantity> records;
  for (int id = 1; id <= count; ++id) {
    auto record = std::make_shared<t_quantity>(*model[static_cast<size_t>(id) % model.size()]);
    record->wId = static_cast<uint16_t>(id);
    std::snprintf(record->szName, sizeof(record->szName), "Quantity %04d", id);
    records.push_back(std::move(record));
  }
  contents.catalogue = units::MakeCatalogue(std::move(records));
  if (!units::TheService().Commit(contents)) std::fprintf(stderr, "cannot store the large catalogue\n");
}

void PrintOpening(const char* what, units::LibraryHost* host, units::dialogs::ToolkitServices* toolkit) {
  std::vector<double> later;
  const double first = Open(host, toolkit).ms;
  for (int run = 0; run < kRuns; ++run) later.push_back(Open(host, toolkit).ms);
  std::printf("open to first frame, %-28s first %6.1f ms, later median %6.1f ms (%d runs)\n", what, first,
              Median(later), kRuns);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const fs::path folder = fs::temp_directory_path() / ("units_main_dialog_bench_" + std::to_string(getpid()));
  fs::create_directories(folder / "Units");
  for (const char* name : {"DEFAULT.UDF", "DEFAULT.FDF"}) {
    fs::copy_file(fs::path(UNITS_DATA_FOLDER) / name, folder / "Units" / name);
  }
  setenv("UNITS_REGISTRY_DB", (folder / "registry.db").c_str(), 1);
  units::TheService().Attach(folder.string() + "/");
  units::TheService().ChangeUserInfo("Software\\Bench\\", "User", 0);
  units::LibraryHost host;
  units::dialogs::QtToolkitServices toolkit;
  std::printf("platform %s\n", QApplication::platformName().toUtf8().constData());

  const int defaults = static_cast<int>(units::TheService().ContentsCopy().catalogue->Records().size());
  const std::string default_label = "default catalogue (" + std::to_string(defaults) + "):";
  PrintOpening(default_label.c_str(), &host, &toolkit);

  UseLargeCatalogue(kLargeCatalogue);
  const long rss_before = StatusKiB("VmRSS");
  {
    OpenDialog open = Open(&host, &toolkit);
    std::printf("memory of the open dialog with %d quantities: %ld KiB resident more than before (peak of the "
                "process %ld KiB)\n",
                kLargeCatalogue, StatusKiB("VmRSS") - rss_before, StatusKiB("VmHWM"));
  }
  PrintOpening("1,000 quantities:", &host, &toolkit);

  std::vector<double> commits;
  for (int run = 0; run < kRuns; ++run) {
    OpenDialog open = Open(&host, &toolkit);
    auto* close = open.dialog->findChild<QPushButton*>("m_pkCloseButton");
    const Clock::time_point start = Clock::now();
    close->click();
    commits.push_back(Milliseconds(start, Clock::now()));
    if (open.dialog->result() != QDialog::Accepted) std::fprintf(stderr, "a commit failed\n");
  }
  std::printf("\"Close\" with %d quantities (catalogue, publication, save into the store): median %.1f ms\n",
              kLargeCatalogue, Median(commits));
  units::TheService().Detach();
  fs::remove_all(folder);
  return 0;
}
