#include "language/translator.h"

#include <cstring>
#include <utility>
#include <vector>

#include "language.h"
#include "language/catalogue_file.h"

namespace units {
namespace language {

bool IsDeviceKey(const char* text) {
  if (std::strncmp(text, "Dev", 3) != 0) return false;
  const char* p = text + 3;
  if (*p == '-') ++p;
  if (*p == '\0') return false;
  for (; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
  }
  return true;
}

Translator::Translator(std::string locale_root, EnvironmentLookup lookup, Report report)
    : locale_root_(std::move(locale_root)), lookup_(std::move(lookup)), report_(std::move(report)) {}

const char* Translator::Get(const char* text, int /*selector*/) {
  retired_.reset();
  FollowEnvironment();
  const char* result = Lookup(text);
  if (result == nullptr) result = IsDeviceKey(text) ? LANG_NO_DEVICE_NAME : text;
  last_result_ = result;
  return result;
}

void Translator::Set(const char* key, const char* text) {
  if (key == nullptr) return;
  // Copied before the old value can go: `text` may point into it.
  std::unique_ptr<const std::string> value = text == nullptr ? nullptr : std::make_unique<const std::string>(text);
  const auto it = overrides_.find(key);
  if (it == overrides_.end()) {
    if (value != nullptr) overrides_.emplace(key, std::move(value));
    return;
  }
  Retire(std::move(it->second));
  if (value == nullptr) {
    overrides_.erase(it);
  } else {
    it->second = std::move(value);
  }
}

const char* Translator::Lookup(const char* text) const {
  const auto it = overrides_.find(text);
  if (it != overrides_.end()) return it->second->c_str();
  return catalogue_.Find(text);
}

void Translator::Retire(std::unique_ptr<const std::string> value) {
  if (value->c_str() == last_result_) retired_ = std::move(value);
}

// Checked on every call (a few getenv calls) so that a host or a test can
// switch the language at run time; the catalogue is read only on a change.
void Translator::FollowEnvironment() {
  std::string name = ChooseLocaleName(lookup_);
  if (name == locale_name_) return;
  locale_name_ = std::move(name);
  LoadCatalogue();
}

void Translator::LoadCatalogue() {
  catalogue_.Clear();
  catalogue_folder_.clear();
  for (const std::string& folder : CatalogueFolders(locale_name_)) {
    if (TryCatalogue(folder)) return;
  }
}

bool Translator::TryCatalogue(const std::string& folder) {
  const std::string path = locale_root_ + folder + "/LC_MESSAGES/units.mo";
  std::vector<char> bytes;
  std::string error;
  switch (ReadCatalogueFile(path, MoCatalogue::kMaxFileSize, &bytes, &error)) {
    case FileRead::kMissing:
      return false;
    case FileRead::kRejected:
      Tell("LANGUAGE: catalogue " + path + " not read: " + error);
      return false;
    case FileRead::kOk:
      break;
  }
  if (!catalogue_.Parse(std::move(bytes), &error)) {
    Tell("LANGUAGE: catalogue " + path + " rejected: " + error);
    return false;
  }
  catalogue_folder_ = folder;
  Tell("LANGUAGE: catalogue " + path + " loaded, " + std::to_string(catalogue_.entries().size()) + " texts");
  return true;
}

void Translator::Tell(const std::string& line) const {
  if (report_) report_(line);
}

}  // namespace language
}  // namespace units
