// A library stand-in for the main dialog and its groups page: it holds the
// state in memory and counts the commits.
#ifndef UNITS_TESTS_DIALOGS_FAKE_HOST_H_
#define UNITS_TESTS_DIALOGS_FAKE_HOST_H_

#include <memory>
#include <utility>
#include <vector>

#include "service/dialog_plugin.h"

namespace units {
namespace dialogs {
namespace testing {

class FakeHost : public MainDialogHost {
 public:
  FakeHost() {
    contents.catalogue = MakeCatalogue(QuantityTable());
    SetGroups({}, 0);
  }

  void SetGroups(std::vector<t_FilterEntry> entries, int32_t index) {
    auto table = std::make_shared<GroupTable>();
    table->Replace(std::move(entries));
    table->SetCurrentIndex(index);
    contents.groups = std::move(table);
  }
  int32_t GroupIndex() const { return contents.groups->CurrentIndex(); }

  StoredContents Contents() override { return contents; }
  uint32_t Privileges() override { return privileges; }
  DialogSettings SetTextMode(uint16_t mode) override {
    contents.text_mode = mode;
    DialogSettings settings;
    settings.text_mode = mode;
    return settings;
  }
  void SetUnitFormat(int32_t format) override { contents.unit_format = format; }
  bool SetGroupIndex(int32_t index) override {
    auto table = std::make_shared<GroupTable>(*contents.groups);
    if (!table->SetCurrentIndex(index)) return false;
    contents.groups = std::move(table);
    return true;
  }
  void ReplaceGroups(std::vector<t_FilterEntry> entries, int32_t index) override {
    SetGroups(std::move(entries), index);
  }
  std::vector<QuantityChoice> QuantityChoices() override { return {}; }
  std::shared_ptr<const Catalogue> CommittedCatalogue() override { return contents.catalogue; }
  bool Commit(const StoredContents& next) override {
    ++commits;
    contents = next;
    return true;
  }

  StoredContents contents;
  uint32_t privileges = 0xFFFFFFFF;
  int commits = 0;
};

}  // namespace testing
}  // namespace dialogs
}  // namespace units

#endif  // UNITS_TESTS_DIALOGS_FAKE_HOST_H_
