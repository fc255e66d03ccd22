#include "api/library_host.h"

#include <utility>

#include "service/enumerations.h"
#include "service/service.h"

namespace units {

namespace {

template <typename Body>
void Try(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

}  // namespace

StoredContents LibraryHost::Contents() { return TheService().ContentsCopy(); }

uint32_t LibraryHost::Privileges() { return TheService().Privileges(); }

DialogSettings LibraryHost::SetTextMode(uint16_t mode) {
  DialogSettings settings;
  settings.text_mode = mode;
  Try([&] {
    TheService().SetTextMode(mode);
    TheService().RenewFonts();
    settings = TheService().DialogSettingsCopy();
  });
  return settings;
}

void LibraryHost::SetUnitFormat(int32_t format) {
  Try([&] { TheService().SetUnitFormat(format); });
}

bool LibraryHost::SetGroupIndex(int32_t index) {
  bool done = false;
  Try([&] { done = TheService().SetGroupIndex(index); });
  return done;
}

void LibraryHost::ReplaceGroups(std::vector<t_FilterEntry> groups, int32_t current_index) {
  Try([&] { TheService().ReplaceGroups(std::move(groups), current_index); });
}

std::vector<QuantityChoice> LibraryHost::QuantityChoices() {
  std::vector<QuantityChoice> choices;
  Try([&] {
    int count = 0;
    std::unique_ptr<t_unitquantity[]> list(TheService().Reading<t_unitquantity*>(
        nullptr, [&](const View& view) { return ListAllQuantities(view, false, &count); }));
    for (int i = 0; list != nullptr && i < count; ++i) {
      const t_unitquantity& item = list[i];
      choices.push_back({{item.wQuantity, item.lSubQuantity, item.dwFlags, item.wDevice, item.wIndex},
                         item.szSymbol});
    }
  });
  return choices;
}

std::shared_ptr<const Catalogue> LibraryHost::CommittedCatalogue() {
  return TheService().Reading(std::shared_ptr<const Catalogue>(), [](const View& view) { return view.catalogue; });
}

bool LibraryHost::Commit(const StoredContents& contents) {
  bool saved = false;
  Try([&] { saved = TheService().Commit(contents); });
  return saved;
}

}  // namespace units
