// The library as the main dialog sees it: the service behind the plugin
// contract. Calls come from inside the toolkit's event loop, which no
// exception may cross: each one that can fail gives a harmless answer.
#ifndef UNITS_API_LIBRARY_HOST_H_
#define UNITS_API_LIBRARY_HOST_H_

#include <memory>
#include <vector>

#include "service/dialog_plugin.h"

namespace units {

class LibraryHost : public MainDialogHost {
 public:
  StoredContents Contents() override;
  uint32_t Privileges() override;
  DialogSettings SetTextMode(uint16_t mode) override;
  void SetUnitFormat(int32_t format) override;
  bool SetGroupIndex(int32_t index) override;
  void ReplaceGroups(std::vector<t_FilterEntry> groups, int32_t current_index) override;
  std::vector<QuantityChoice> QuantityChoices() override;
  std::shared_ptr<const Catalogue> CommittedCatalogue() override;
  bool Commit(const StoredContents& contents) override;
};

}  // namespace units

#endif  // UNITS_API_LIBRARY_HOST_H_
