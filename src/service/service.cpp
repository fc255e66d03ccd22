#include "service/service.h"

#include <cstdio>
#include <cstring>
#include <type_traits>
#include <utility>

#include "model/udf_format.h"
#include "platform/debug_output.h"
#include "platform/paths.h"
#include "service/configuration.h"
#include "service/conversion_log.h"
#include "service/font_holder.h"
#include "service/registrations.h"
#include "service/settings.h"
#include "storage/file_names.h"
#include "storage/store_files.h"

namespace units {

Service g_service;
static_assert(std::is_trivially_destructible<Service>::value,
              "the service must not be destroyed at exit while host threads may read");

namespace {

constexpr int kFontHeight = 15;
constexpr const char* kProduct = "Mensora";
// Reader slots made at attach; threads beyond these allocate their own.
constexpr int kPreparedReaderSlots = 64;

void CreateSharedFolders() {
  for (const std::string& base : {platform::CommonAppDataFolder(), platform::CommonDocumentsFolder()}) {
    if (!base.empty()) platform::MakeFolder(base + "/Quorin/");
  }
}

void RefuseLoad() {
  const std::string message = std::string(kProduct) + ": Invalid Mode";
  std::fprintf(stderr, "%s\n", message.c_str());
  platform::DebugOutput(message);
}

void WriteLifecycleLine(const char* event) {
  char line[128];
  std::snprintf(line, sizeof(line), "%s-DLL: %s (%s)", "UNITS", event, kProduct);
  platform::DebugOutput(line);
}

// Copies at most `size` bytes and at most kPathWidth - 1 characters, so the
// name is always terminated even when the host's text is not.
std::string BoundedName(const void* value, unsigned long size) {
  const char* text = static_cast<const char*>(value);
  size_t length = strnlen(text, size);
  if (length > kPathWidth - 1) length = kPathWidth - 1;
  return std::string(text, length);
}

std::shared_ptr<const Catalogue> EmptyCatalogue() { return MakeCatalogue(QuantityTable()); }

}  // namespace

// ---- Lifecycle ----

void Service::Attach(const std::string& module_folder) noexcept {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  try {
    readers_.Prepare(kPreparedReaderSlots);
    Publish(nullptr);
    delete settings_;
    settings_ = nullptr;
    delete font_holder_;
    font_holder_ = nullptr;
    settings_ = new Settings;
    privilege_mask_.store(0xFFFFFFFF, std::memory_order_relaxed);
    refused_.store(false, std::memory_order_relaxed);
    settings_->module_folder = module_folder;
    CreateSharedFolders();
    settings_->root = RootForPath(settings_->registry_path);
    auto first = std::make_unique<View>();
    first->catalogue = EmptyCatalogue();
    first->groups = std::make_shared<const GroupTable>();
    first->select_list = std::make_shared<const t_unitselectlist>();
    Publish(std::move(first));
    if (!Initialise()) {
      Publish(nullptr);
      refused_.store(true, std::memory_order_relaxed);
      return;
    }
  } catch (...) {
    // Out of memory while starting: the library stays loaded but inert,
    // which is what a host can cope with.
    Publish(nullptr);
    refused_.store(true, std::memory_order_relaxed);
    return;
  }
  WriteLifecycleLine("DLL_PROCESS_ATTACH");
}

bool Service::Initialise() {
  Settings& settings = *settings_;
  if (settings.initialised) return true;
  if (font_holder_ == nullptr) font_holder_ = new K_DORVFont(kFontHeight, TextMode());
  settings.data_folder = platform::DataFolderOf(settings.module_folder);
  settings.save_folder = platform::SaveFolderFor(settings.data_folder);
  settings.log_folder = settings.save_folder;
  const Configuration config = ReadConfiguration(settings.data_folder + "UNITS.INI");
  if (!config.mode_known) {
    RefuseLoad();
    delete font_holder_;
    font_holder_ = nullptr;
    return false;
  }
  settings.edit_mode = config.edit_mode;
  auto logs = NextView();
  logs->conversion_log = config.conversion_log ? settings.log_folder + "KEY.LOG" : "";
  logs->missing_quantity_log = config.missing_quantity_log ? settings.log_folder + "UNITSQUAN.LOG" : "";
  Publish(std::move(logs));
  settings.initialised = true;
  Load(true);
  return true;
}

void Service::Detach() noexcept {
  {
    std::lock_guard<platform::WriterMutex> lock(writer_);
    ExitLib();
    FreeRetired(true);
    readers_.Release();
  }
  WriteLifecycleLine("DLL_PROCESS_DETACH");
}

void Service::ExitLib() {
  platform::DebugOutput("Units-DLL: ExitLib Begin");
  if (settings_ != nullptr && settings_->initialised) {
    try {
      auto empty = NextView();
      empty->catalogue = EmptyCatalogue();
      empty->groups = std::make_shared<const GroupTable>();
      Publish(std::move(empty));
    } catch (...) {
      Publish(nullptr);
    }
    delete font_holder_;
    font_holder_ = nullptr;
    settings_->initialised = false;
  }
  platform::DebugOutput("Units-DLL: ExitLib End");
}

// ---- Publishing ----

std::unique_ptr<View> Service::NextView() const {
  const View* current = view_.load(std::memory_order_relaxed);
  return current != nullptr ? std::make_unique<View>(*current) : std::make_unique<View>();
}

void Service::Publish(std::unique_ptr<View> next) {
  const View* old = view_.exchange(next.get(), std::memory_order_acq_rel);
  const bool shortcut = next != nullptr && next->conversion_log.empty() && readers_.asymmetric();
  catalogue_.store(shortcut ? next->catalogue.get() : nullptr, std::memory_order_release);
  next.release();
  // Also a null old view goes through the list: deleting null is harmless.
  const uint64_t epoch = readers_.Retire();
  if (retired_count_ == kMaxRetired) {
    readers_.WaitQuiescent(retired_[0].epoch);
    FreeRetired(false);
  }
  retired_[retired_count_++] = Retired{old, epoch};
  FreeRetired(false);
}

// Frees the retired views no reader can hold any more (with `wait`: all of
// them, waiting for readers). Epochs grow with the list, so the quiescent
// ones are a prefix.
void Service::FreeRetired(bool wait) {
  int freed = 0;
  while (freed < retired_count_) {
    const Retired& oldest = retired_[freed];
    if (wait) readers_.WaitQuiescent(oldest.epoch);
    if (!readers_.Quiescent(oldest.epoch)) break;
    delete oldest.view;
    ++freed;
  }
  for (int i = freed; i < retired_count_; ++i) retired_[i - freed] = retired_[i];
  retired_count_ -= freed;
}

StoredContents Service::Contents() const {
  const View* view = view_.load(std::memory_order_relaxed);
  StoredContents contents;
  contents.catalogue = view->catalogue;
  contents.groups = view->groups;
  contents.unit_format = view->unit_format;
  contents.text_mode = view->text_mode;
  return contents;
}

void Service::PublishContents(const StoredContents& contents) {
  auto next = NextView();
  next->catalogue = contents.catalogue;
  next->groups = contents.groups;
  next->unit_format = contents.unit_format;
  next->text_mode = contents.text_mode;
  Publish(std::move(next));
}

// ---- Storage ----

StoreLocation Service::Location() const {
  const Settings& settings = *settings_;
  StoreLocation location;
  location.from_file_only = settings.from_file_only != 0;
  location.working_udf = settings.working_udf;
  location.working_fdf = settings.working_fdf;
  location.default_udf = settings.default_udf;
  location.default_fdf = settings.default_fdf;
  location.registry_path = settings.registry_path;
  location.user_part = settings.user_part;
  location.root = settings.root;
  location.data_folder = settings.data_folder;
  location.save_folder = settings.save_folder;
  location.registry_database = platform::RegistryDatabasePath(settings.save_folder);
  return location;
}

void Service::Load(bool fall_back_to_files) {
  StoredContents contents = Contents();
  // Every load starts from an empty catalogue; readers keep the old one
  // until the new one is complete.
  contents.catalogue = EmptyCatalogue();
  const bool write_back = LoadSequence(Location(), fall_back_to_files, &contents);
  PublishContents(contents);
  if (write_back) Save(contents);
}

bool Service::Save(const StoredContents& contents) const { return SaveSequence(Location(), contents); }

void Service::SwitchFileOnlyMode(uint16_t on) {
  Settings& settings = *settings_;
  settings.from_file_only = on;
  settings.working_udf = on != 0 ? kFileOnlyUdf : settings.default_udf;
  settings.working_fdf = on != 0 ? kFileOnlyFdf : settings.default_fdf;
}

// ---- Reading ----

bool Service::ConvertOneInSection(Direction direction, uint16_t quantity, double input, double* output,
                                  bool absolute) const noexcept {
  return ConvertArray(direction, quantity, &input, output, 1, absolute);
}

// Arrays and the single values off the hot path: the conversion log, an
// inert library, a thread's first call, or no process-wide barrier.
bool Service::ConvertArray(Direction direction, uint16_t quantity, const double* input, double* output,
                           int32_t count, bool absolute) const noexcept {
  platform::ReadSection section(readers_);
  const View* view = view_.load(std::memory_order_acquire);
  if (view == nullptr) return false;
  const Catalogue::Entry& entry = view->catalogue->EntryOf(quantity);
  const bool found = entry.record != nullptr;
  if (found && count > 0) {
    ConvertValues(direction, input, output, static_cast<size_t>(count), entry.factor, entry.offset, absolute);
  }
  WriteConversionLog(view->conversion_log, direction, quantity, found);
  return found;
}

uint16_t Service::TextMode() const {
  return Reading<uint16_t>(kSymbolMode, [](const View& view) { return view.text_mode; });
}

int32_t Service::GroupIndex() const {
  return Reading<int32_t>(0, [](const View& view) { return view.groups->CurrentIndex(); });
}

Settings Service::SettingsCopy() const {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  return settings_ != nullptr ? *settings_ : Settings();
}

StoredContents Service::ContentsCopy() const {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (view_.load(std::memory_order_relaxed) == nullptr) return StoredContents();
  return Contents();
}

DialogSettings Service::DialogSettingsCopy() const {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  DialogSettings dialog;
  if (settings_ != nullptr) dialog.edit_mode = settings_->edit_mode;
  const View* view = view_.load(std::memory_order_relaxed);
  if (view != nullptr) dialog.text_mode = view->text_mode;
  if (font_holder_ != nullptr) {
    dialog.has_fonts = true;
    dialog.dialog_font = font_holder_->DialogFont();
    dialog.symbol_font = font_holder_->SymbolFont();
  }
  return dialog;
}

const DialogPlugin* Service::Dialogs() {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (!dialogs_tried_ && settings_ != nullptr) {
    dialogs_ = LoadDialogPlugin(settings_->module_folder);
    dialogs_tried_ = true;
  }
  return dialogs_;
}

// ---- Changing ----

bool Service::SetValue(uint16_t key, const void* value, unsigned long size) {
  if (value == nullptr) return false;
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (settings_ == nullptr) return false;
  switch (key) {
    case kKeyPrivileges: {
      if (size != 4) return false;
      uint32_t mask;
      std::memcpy(&mask, value, sizeof(mask));
      privilege_mask_.store(mask, std::memory_order_relaxed);
      return true;
    }
    case kKeyFileOnly: {
      if (size != 2) return false;
      uint16_t on;
      std::memcpy(&on, value, sizeof(on));
      SwitchFileOnlyMode(on);
      Load(true);
      return true;
    }
    case kKeyWorkingUdf:
    case kKeyWorkingFdf: {
      // An empty name would make the next save write ".udf": refused.
      if (size == 0 || size > kPathWidth) return false;
      std::string name = BoundedName(value, size);
      if (name.empty()) return false;
      (key == kKeyWorkingUdf ? settings_->working_udf : settings_->working_fdf) = std::move(name);
      // The stored name takes effect at the next load or save; hosts rely on
      // the result being false.
      return false;
    }
    default:
      return false;
  }
}

uint16_t Service::SetTextMode(uint16_t mode) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (view_.load(std::memory_order_relaxed) == nullptr) return kSymbolMode;
  auto next = NextView();
  next->text_mode = mode;
  Publish(std::move(next));
  return mode;
}

bool Service::SetGroupIndex(int32_t index) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  const View* current = view_.load(std::memory_order_relaxed);
  if (current == nullptr) return false;
  auto groups = std::make_shared<GroupTable>(*current->groups);
  if (!groups->SetCurrentIndex(index)) return false;
  auto next = NextView();
  next->groups = std::move(groups);
  Publish(std::move(next));
  return true;
}

// The user number is accepted for hosts' sake; nothing depends on it.
void Service::ChangeUserInfo(const std::string& path, const std::string& user, uint16_t /*number*/) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (settings_ == nullptr || view_.load(std::memory_order_relaxed) == nullptr) return;
  settings_->registry_path = path;
  settings_->user_part = user;
  settings_->root = RootForPath(path);
  Load(true);
  settings_->edit_mode = kEditFull;
}

bool Service::ChangeUdf(const std::string& path, const std::string& user, const std::string& file) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (settings_ == nullptr || view_.load(std::memory_order_relaxed) == nullptr) return false;
  settings_->user_part = user;
  settings_->registry_path = path;
  if (!path.empty() && path.back() != '\\') settings_->registry_path += '\\';
  Load(false);
  if (view_.load(std::memory_order_relaxed)->catalogue->Count() > 0) return true;
  // The settings of the file's header are not applied here.
  UdfContents imported = ReadUdfFile(ResolveImportFileName(file, settings_->data_folder));
  StoredContents contents = Contents();
  contents.catalogue = MakeCatalogue(std::move(imported.records));
  PublishContents(contents);
  Save(contents);
  return contents.catalogue->Count() > 0;
}

bool Service::AddDeviceIndex(uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device,
                             uint16_t index) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (view_.load(std::memory_order_relaxed) == nullptr) return false;
  StoredContents contents = Contents();
  std::shared_ptr<const Catalogue> registered =
      WithDeviceIndex(*contents.catalogue, quantity, subquantity, flags, device, index);
  if (registered == nullptr) return false;
  contents.catalogue = std::move(registered);
  PublishContents(contents);
  Save(contents);
  return true;
}

bool Service::Commit(const StoredContents& contents) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (settings_ == nullptr || view_.load(std::memory_order_relaxed) == nullptr) return false;
  StoredContents next = contents;
  if (next.catalogue == nullptr) next.catalogue = EmptyCatalogue();
  if (next.groups == nullptr) next.groups = std::make_shared<const GroupTable>();
  if (!Save(next)) return false;
  PublishContents(next);
  return true;
}

void Service::SetUnitFormat(int32_t format) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (view_.load(std::memory_order_relaxed) == nullptr) return;
  auto next = NextView();
  next->unit_format = format;
  Publish(std::move(next));
}

void Service::ReplaceGroups(std::vector<t_FilterEntry> entries, int32_t current_index) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (view_.load(std::memory_order_relaxed) == nullptr) return;
  auto groups = std::make_shared<GroupTable>();
  groups->Replace(std::move(entries));
  groups->SetCurrentIndex(current_index);
  auto next = NextView();
  next->groups = std::move(groups);
  Publish(std::move(next));
}

void Service::RenewFonts() {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (font_holder_ == nullptr) return;
  auto* renewed = new K_DORVFont(kFontHeight, TextMode());
  delete font_holder_;
  font_holder_ = renewed;
}

bool Service::SetCurrentUnit(uint16_t id, uint32_t unit) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (view_.load(std::memory_order_relaxed) == nullptr) return false;
  StoredContents contents = Contents();
  const std::vector<SharedQuantity>& records = contents.catalogue->Records();
  const t_quantity* found = contents.catalogue->Find(id);
  if (found == nullptr) return false;
  std::vector<SharedQuantity> changed = records;
  for (SharedQuantity& record : changed) {
    if (record.get() != found) continue;
    auto chosen = std::make_shared<t_quantity>(*record);
    chosen->dwUnit = unit;
    record = std::move(chosen);
    break;
  }
  contents.catalogue = MakeCatalogue(std::move(changed));
  PublishContents(contents);
  return Save(contents);
}

void Service::ClearSelectList(bool reset_entries) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (view_.load(std::memory_order_relaxed) == nullptr) return;
  auto next = NextView();
  auto list = std::make_shared<t_unitselectlist>(*next->select_list);
  list->Clear(reset_entries);
  next->select_list = std::move(list);
  Publish(std::move(next));
}

bool Service::AddSelectList(int list, uint16_t quantity, int32_t subquantity, uint32_t flags, uint16_t device,
                            uint16_t index) {
  std::lock_guard<platform::WriterMutex> lock(writer_);
  if (view_.load(std::memory_order_relaxed) == nullptr) return false;
  auto next = NextView();
  auto changed = std::make_shared<t_unitselectlist>(*next->select_list);
  if (!changed->Add(list, quantity, subquantity, flags, device, index)) return false;
  next->select_list = std::move(changed);
  Publish(std::move(next));
  return true;
}

}  // namespace units
