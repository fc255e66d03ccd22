// The JSON form of a UDF file: the settings of its header and its quantity
// records (data/README.md describes the schema). CatalogueToJson and
// CatalogueFromJson are inverses: every field of every record, used or not,
// survives the way through JSON, so that a file written by the library is
// rebuilt byte for byte.
#ifndef UNITS_TOOLS_UNITSTOOL_CATALOGUE_JSON_H_
#define UNITS_TOOLS_UNITSTOOL_CATALOGUE_JSON_H_

#include <cstdint>

#include "model/catalogue.h"
#include "json_node.h"
#include "model/udf_format.h"

namespace units {
namespace tool {

struct CatalogueDocument {
  int32_t unit_format = kUnitFormatNotSet;
  uint16_t text_mode = kTextModeNotSet;
  QuantityTable records;
};

Json CatalogueToJson(const CatalogueDocument& document);
// Throws ToolError naming the faulty field.
CatalogueDocument CatalogueFromJson(const Json& source);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_CATALOGUE_JSON_H_
