// unitstool select-unit ID and unitstool edit: the library's dialogs, with
// the data folder's default files as the store.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "command.h"
#include "library_queries.h"
#include "tool_error.h"
#include "units.h"

namespace units {
namespace tool {

namespace {

constexpr unsigned short kKeyFileOnly = 101;
constexpr unsigned short kKeyWorkingUdf = 102;
constexpr unsigned short kKeyWorkingFdf = 103;
// How the library's lines about its dialogs begin.
constexpr char kDialogLines[] = "Mensora: ";

// Until a host chooses a store the library saves nothing, so a choice would
// be lost with this process. The files every host starts from, DEFAULT.UDF
// and DEFAULT.FDF of the data folder, become the store: file-only mode, with
// the default files as the working files, reloaded from them (switching the
// mode alone would read a left-over AppUnits.UDF and save it as the default).
// With no DEFAULT.UDF the catalogue starts empty.
void StoreInTheDefaultFiles() {
  uint16_t on = 1;
  char udf[] = "DEFAULT.UDF";
  char fdf[] = "DEFAULT.FDF";
  char no_key[] = "";
  UnitSetValue(kKeyFileOnly, &on, sizeof(on));
  UnitSetValue(kKeyWorkingUdf, udf, sizeof(udf));
  UnitSetValue(kKeyWorkingFdf, fdf, sizeof(fdf));
  if (!UnitChangeUDF(no_key, nullptr, udf)) throw ToolError("cannot reload DEFAULT.UDF");
}

// The library says why a dialog was not shown only on its debug channel.
// Unless the user sent that channel somewhere, it goes into an anonymous
// file for this run, so that the reason can be printed. The file lives as
// long as the process: the library keeps writing at exit.
class DebugChannel {
 public:
  DebugChannel() {
    const char* chosen = std::getenv("UNITS_DEBUG_LOG");
    if (chosen != nullptr && *chosen != '\0') return;
    file_ = memfd_create("unitstool-debug", MFD_CLOEXEC);
    if (file_ < 0) return;
    // Set before the dialog starts the toolkit's threads.
    const std::string path = "/proc/self/fd/" + std::to_string(file_);
    if (setenv("UNITS_DEBUG_LOG", path.c_str(), 1) != 0) file_ = -1;
  }

  // The end of the last line that holds `marker`, from the marker on;
  // empty if none does.
  std::string LastLineFrom(const std::string& marker) const {
    std::string text, line;
    char buffer[4096];
    ssize_t length;
    for (off_t at = 0; file_ >= 0 && (length = pread(file_, buffer, sizeof(buffer), at)) > 0; at += length)
      text.append(buffer, static_cast<size_t>(length));
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
      end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const size_t at = text.find(marker, start);
      if (at < end) line = text.substr(at, end - at);
    }
    return line;
  }

  bool Captured() const { return file_ >= 0; }

 private:
  int file_ = -1;
};

// Why UnitOpenSelectUnitDlg gave false, from what it left behind.
std::string Failure(uint16_t quantity, const std::string& before, const DebugChannel& channel) {
  const std::string not_shown = channel.LastLineFrom(kDialogLines);
  if (!not_shown.empty()) return not_shown.substr(sizeof(kDialogLines) - 1);
  const std::string now = UnitGetUnitText(quantity);
  if (now != before) {
    const std::string why = channel.LastLineFrom("cannot write ");
    return "the choice of " + now + " was not saved" + (why.empty() ? "" : ": " + why);
  }
  if (!channel.Captured()) {
    return "no unit chosen: the dialog was cancelled or could not be shown (the debug channel, "
           "UNITS_DEBUG_LOG, tells which)";
  }
  return "cancelled: quantity " + std::to_string(quantity) + " keeps its unit " + before;
}

}  // namespace

int RunSelectUnit(const Arguments& arguments) {
  if (arguments.size() != 1 || arguments[0].rfind('-', 0) == 0) {
    PrintCommandHelp(*FindCommand("select-unit"), true);
    return kExitUsage;
  }
  const uint16_t quantity = ParseQuantityId(arguments[0]);
  // Asked of the catalogue loaded at start, from DEFAULT.UDF: the reload
  // below then finds quantities, and an unknown one changes nothing.
  RequireQuantity(quantity);
  StoreInTheDefaultFiles();
  const std::string before = UnitGetUnitText(quantity);
  const DebugChannel channel;
  if (!UnitOpenSelectUnitDlg(quantity, 0)) throw ToolError(Failure(quantity, before, channel));
  std::printf("%s\n", UnitGetUnitText(quantity));
  if (std::fflush(stdout) != 0) throw ToolError("cannot write to standard output");
  return kExitOk;
}

int RunEdit(const Arguments& arguments) {
  if (!arguments.empty()) {
    PrintCommandHelp(*FindCommand("edit"), true);
    return kExitUsage;
  }
  StoreInTheDefaultFiles();
  const DebugChannel channel;
  if (!UnitEdit(0UL)) {
    const std::string not_shown = channel.LastLineFrom(kDialogLines);
    if (!not_shown.empty()) throw ToolError(not_shown.substr(sizeof(kDialogLines) - 1));
    throw ToolError(channel.Captured() ? "closed without saving: nothing changed"
                                       : "nothing saved: the dialog was closed without \"Close\" or could not be "
                                         "shown (the debug channel, UNITS_DEBUG_LOG, tells which)");
  }
  // Group 0 is "All quantities", which is no stored group.
  std::printf("saved: %zu enabled quantities, %zu groups\n", EnabledQuantities().size(), GroupNames().size() - 1);
  if (std::fflush(stdout) != 0) throw ToolError("cannot write to standard output");
  return kExitOk;
}

}  // namespace tool
}  // namespace units
