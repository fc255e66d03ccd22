// The translation service behind LangGetText and LangSetText: run-time
// overrides first, then the catalogue of the language the environment names,
// then the text itself. Device keys ("Dev" and a decimal number) without a
// name give "xxxxx".
#ifndef UNITS_LANGUAGE_TRANSLATOR_H_
#define UNITS_LANGUAGE_TRANSLATOR_H_

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "language/locale_name.h"
#include "language/mo_catalogue.h"

namespace units {
namespace language {

// True for the keys "Dev%i" makes: "Dev", an optional '-', then only digits.
bool IsDeviceKey(const char* text);

class Translator {
 public:
  using Report = std::function<void(const std::string&)>;

  // `locale_root` holds one folder per language with LC_MESSAGES/units.mo in
  // it, and ends with '/'. `report`, if set, receives one line whenever a
  // catalogue is loaded or rejected.
  Translator(std::string locale_root, EnvironmentLookup lookup, Report report = Report());

  Translator(const Translator&) = delete;
  Translator& operator=(const Translator&) = delete;

  // REQUIRES: `text` is not null. Never returns null. The selector does not
  // change the lookup: device keys are known by their form. The result stays
  // valid until the next call of Get, even if Set replaces it meanwhile.
  const char* Get(const char* text, int selector);

  // Registers or replaces the override of `key`; a null `text` removes it.
  // A null `key` is ignored.
  void Set(const char* key, const char* text);

  // The folder of the catalogue in use ("de", "de_DE", ...), "" when none.
  const std::string& catalogue_folder() const { return catalogue_folder_; }

 private:
  void FollowEnvironment();
  void LoadCatalogue();
  bool TryCatalogue(const std::string& folder);
  const char* Lookup(const char* text) const;
  void Retire(std::unique_ptr<const std::string> value);
  void Tell(const std::string& line) const;

  const std::string locale_root_;
  const EnvironmentLookup lookup_;
  const Report report_;

  std::string locale_name_;  // as last chosen from the environment
  std::string catalogue_folder_;
  MoCatalogue catalogue_;
  // Values on the heap so that their characters never move while handed out.
  std::map<std::string, std::unique_ptr<const std::string>, std::less<>> overrides_;
  const char* last_result_ = nullptr;
  // The replaced override that last_result_ still points into.
  std::unique_ptr<const std::string> retired_;
};

}  // namespace language
}  // namespace units

#endif  // UNITS_LANGUAGE_TRANSLATOR_H_
