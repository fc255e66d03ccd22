// Whole stored files to JSON documents and back, with what a reader should
// know about a file that the library reads without complaint: damage, an old
// header, bytes that no record claims.
#ifndef UNITS_TOOLS_UNITSTOOL_STORE_DOCUMENTS_H_
#define UNITS_TOOLS_UNITSTOOL_STORE_DOCUMENTS_H_

#include <string>
#include <vector>

#include "json_node.h"
#include "store_files.h"

namespace units {
namespace tool {

struct DecodedFile {
  Json json;
  std::vector<std::string> warnings;
  std::string damage;  // empty when the file is whole
};

// REQUIRES: kind is kUdf or kFdf.
DecodedFile DecodeStoreFile(const std::string& bytes, StoreKind kind);

// kUdf for a source with "quantities", kFdf for one with "groups"; throws
// ToolError for anything else.
StoreKind SourceKind(const Json& source);
// The file bytes the library's writer makes of this source. Throws ToolError.
std::string EncodeSource(const Json& source);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_STORE_DOCUMENTS_H_
