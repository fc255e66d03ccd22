// The service: the one owner of everything module-wide. Exported functions
// reach it through TheService() and call one method each.
//
// Threads. Reading methods are safe from any number of threads at once, also
// while a writer runs: they work on the published View inside a read section
// (platform/reader_sections.h) and never take a lock. Changing methods take
// the writer lock, build the next View from the current one, publish it and
// free the old one only when no reader can still hold it.
#ifndef UNITS_SERVICE_SERVICE_H_
#define UNITS_SERVICE_SERVICE_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "model/conversion.h"
#include "platform/reader_sections.h"
#include "platform/writer_mutex.h"
#include "service/dialog_plugin.h"
#include "service/view.h"
#include "storage/store_sequences.h"

class K_DORVFont;

namespace units {

struct Settings;

class Service {
 public:
  constexpr Service() = default;
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  // ---- Lifecycle (writers) ----
  // Builds everything from the start values, with the data folder below
  // `module_folder`: folders, configuration, fonts and the first load. The
  // one reset list: a second attach starts from scratch. A configuration
  // with an unknown mode leaves the service refusing every call.
  void Attach(const std::string& module_folder) noexcept;
  // Releases catalogue, groups and fonts (ExitLib) and the thread-exit hook.
  void Detach() noexcept;
  bool refused() const { return refused_.load(std::memory_order_relaxed); }

  // ---- Reading ----
  // Runs `read(view)` inside a read section; `failure` when nothing is
  // published (before attach, or refused).
  template <typename Result, typename Read>
  Result Reading(Result failure, Read&& read) const {
    platform::ReadSection section(readers_);
    const View* view = view_.load(std::memory_order_acquire);
    if (view == nullptr) return failure;
    return read(*view);
  }

  // One value between base and current unit; false for an unknown quantity.
  // The hot path, for a thread that holds its reader slot: a handful of
  // loads and two stores, no call, no lock, no counter.
  bool Convert(Direction direction, uint16_t quantity, double input, double* output, bool absolute) const noexcept {
    platform::ReaderSlot* slot = platform::CurrentReaderSlot();
    if (slot == nullptr) return ConvertOneInSection(direction, quantity, input, output, absolute);
    readers_.EnterOwn(slot);
    const Catalogue* catalogue = catalogue_.load(std::memory_order_acquire);
    if (catalogue == nullptr) {
      readers_.ExitOwn(slot);
      return ConvertOneInSection(direction, quantity, input, output, absolute);
    }
    const Catalogue::Entry& entry = catalogue->EntryOf(quantity);
    const bool found = entry.record != nullptr;
    if (found) *output = ConvertValue(direction, input, entry.factor, entry.offset, absolute);
    readers_.ExitOwn(slot);
    return found;
  }
  // `count` values; false, with nothing written, for an unknown quantity.
  bool ConvertArray(Direction direction, uint16_t quantity, const double* input, double* output, int32_t count,
                    bool absolute) const noexcept;

  bool HasPrivilege(uint32_t mask) const { return (Privileges() & mask) != 0; }
  uint32_t Privileges() const { return privilege_mask_.load(std::memory_order_relaxed); }
  uint16_t TextMode() const;
  int32_t GroupIndex() const;

  // ---- Changing (serialized among themselves) ----
  bool SetValue(uint16_t key, const void* value, unsigned long size);
  uint16_t SetTextMode(uint16_t mode);
  bool SetGroupIndex(int32_t index);
  void ChangeUserInfo(const std::string& path, const std::string& user, uint16_t number);
  bool ChangeUdf(const std::string& path, const std::string& user, const std::string& file);
  bool AddDeviceIndex(uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device, uint16_t index);
  void ClearSelectList(bool reset_entries);
  // Saves an edited copy of catalogue, groups and display settings and then
  // publishes it. A failed save publishes nothing, so memory and store keep
  // agreeing and the caller can retry.
  bool Commit(const StoredContents& contents);
  // Unsaved changes that the main dialog makes at once.
  void SetUnitFormat(int32_t format);
  void ReplaceGroups(std::vector<t_FilterEntry> entries, int32_t current_index);
  // Makes the font holder anew: its symbol font follows the text mode.
  void RenewFonts();
  bool AddSelectList(int list, uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device,
                     uint16_t index);
  // Makes `unit` the current display unit of the first quantity `id` and
  // runs the save sequence; false when the quantity is gone or the save
  // failed (the choice then still holds in memory).
  bool SetCurrentUnit(uint16_t id, uint32_t unit);

  // ---- Dialogs ----
  // The dialogs plugin, loaded on the first call from the library's folder;
  // null when it cannot be loaded (the reason is in the debug channel). Not
  // retried, never unloaded.
  const DialogPlugin* Dialogs();
  DialogSettings DialogSettingsCopy() const;

  // Test hook: every export then fails as if its body had thrown.
  void FailExportsForTesting(bool on) { fail_exports_.store(on, std::memory_order_relaxed); }
  bool fail_exports() const { return fail_exports_.load(std::memory_order_relaxed); }

  // The fonts of the dialogs; null before attach and when refused. For tests:
  // RenewFonts replaces the object.
  const K_DORVFont* FontHolder() const { return font_holder_; }

  // For tests and the dialogs: copies made under the writer lock.
  Settings SettingsCopy() const;
  StoredContents ContentsCopy() const;

 private:
  // Single values off the hot path, through ConvertArray. By value, so that
  // the hot path keeps its input in a register.
  bool ConvertOneInSection(Direction direction, uint16_t quantity, double input, double* output,
                           bool absolute) const noexcept;

  // REQUIRES: writer_ held for all below.
  bool Initialise();
  void ExitLib();
  void Load(bool fall_back_to_files);
  bool Save(const StoredContents& contents) const;
  StoreLocation Location() const;
  StoredContents Contents() const;
  void Publish(std::unique_ptr<View> next);
  void FreeRetired(bool wait);
  void PublishContents(const StoredContents& contents);
  std::unique_ptr<View> NextView() const;
  void SwitchFileOnlyMode(uint16_t on);

  mutable platform::WriterMutex writer_;
  std::atomic<const View*> view_{nullptr};
  // The published view's catalogue, for the hot conversion path; null while
  // nothing is published, the conversion log is on or readers must fence
  // themselves, which sends conversions to ConvertOneInSection.
  std::atomic<const Catalogue*> catalogue_{nullptr};
  std::atomic<bool> refused_{false};
  std::atomic<bool> fail_exports_{false};
  std::atomic<uint32_t> privilege_mask_{0xFFFFFFFF};
  platform::ReaderSections readers_;
  // Views taken out of publication, freed once no reader can hold them. The
  // writer waits for readers only when all places are taken, which bounds
  // the memory old views can hold.
  struct Retired {
    const View* view;
    uint64_t epoch;
  };
  static constexpr int kMaxRetired = 8;
  Retired retired_[kMaxRetired] = {};
  int retired_count_ = 0;
  // Made at attach; raw, so that the service has no destructor to run at
  // exit while a host thread may still read.
  Settings* settings_ = nullptr;
  K_DORVFont* font_holder_ = nullptr;
  const DialogPlugin* dialogs_ = nullptr;
  bool dialogs_tried_ = false;
};

// The one instance. Constant-initialised: usable before any constructor runs.
extern Service g_service;
inline Service& TheService() { return g_service; }

}  // namespace units

#endif  // UNITS_SERVICE_SERVICE_H_
