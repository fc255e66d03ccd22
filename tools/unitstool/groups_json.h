// The JSON form of an FDF file: the quantity groups and the current group
// index (data/README.md describes the schema). As for catalogues, every
// stored field survives the way through JSON, conditions past the ones in use
// included.
#ifndef UNITS_TOOLS_UNITSTOOL_GROUPS_JSON_H_
#define UNITS_TOOLS_UNITSTOOL_GROUPS_JSON_H_

#include <cstdint>
#include <vector>

#include "model/group_model.h"
#include "json_node.h"

namespace units {
namespace tool {

struct GroupsDocument {
  std::vector<t_FilterEntry> groups;
  int32_t current_group = 0;  // 0 = "All quantities", k = groups[k - 1]
};

Json GroupsToJson(const GroupsDocument& document);
// Throws ToolError naming the faulty field.
GroupsDocument GroupsFromJson(const Json& source);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_GROUPS_JSON_H_
