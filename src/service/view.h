// What readers see: one immutable snapshot of everything a reading function
// needs. Writers build the next view and publish it whole; a published view
// and what it points to never change.
#ifndef UNITS_SERVICE_VIEW_H_
#define UNITS_SERVICE_VIEW_H_

#include <cstdint>
#include <memory>
#include <string>

#include "model/catalogue.h"
#include "model/group_model.h"
#include "model/select_list.h"

namespace units {

struct View {
  std::shared_ptr<const Catalogue> catalogue;
  std::shared_ptr<const GroupTable> groups;  // with the current group index
  std::shared_ptr<const t_unitselectlist> select_list;
  uint16_t text_mode = kSymbolMode;
  int32_t unit_format = 0;
  // Log files, empty while the log is switched off.
  std::string conversion_log;     // "KEY.LOG"
  std::string missing_quantity_log;  // "UNITSQUAN.LOG"
};

}  // namespace units

#endif  // UNITS_SERVICE_VIEW_H_
