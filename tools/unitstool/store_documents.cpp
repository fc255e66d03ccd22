#include "store_documents.h"

#include "catalogue_json.h"
#include "groups_json.h"
#include "model/byte_io.h"
#include "model/fdf_format.h"
#include "model/udf_format.h"
#include "tool_error.h"

namespace units {
namespace tool {

namespace {

size_t RemainingBytes(ByteReader& reader) {
  size_t count = 0;
  while (!reader.AtEnd() && reader.Skip(1)) ++count;
  return count;
}

void NoteTrailingBytes(ByteReader& reader, const char* after, DecodedFile* file) {
  const size_t trailing = RemainingBytes(reader);
  if (trailing > 0) {
    file->warnings.push_back(std::to_string(trailing) + " bytes after " + after +
                             " belong to nothing; the library ignores them and build leaves them out");
  }
}

DecodedFile DecodeUdfFile(const std::string& bytes) {
  DecodedFile file;
  ByteReader reader(bytes.data(), bytes.size());
  UdfContents contents = DecodeUdf(reader);
  if (!contents.has_header) {
    file.warnings.push_back("the file has the old header without settings; build writes the current header");
  }
  if (contents.records.size() < contents.declared_count) {
    file.damage = "the file declares " + std::to_string(contents.declared_count) + " quantities but holds only " +
                  std::to_string(contents.records.size());
  } else if (reader.Exhausted()) {
    file.damage = "the file ends inside its last quantity record";
  } else {
    NoteTrailingBytes(reader, "the last record", &file);
  }
  CatalogueDocument document;
  document.unit_format = contents.unit_format;
  document.text_mode = contents.text_mode;
  document.records = std::move(contents.records);
  file.json = CatalogueToJson(document);
  return file;
}

DecodedFile DecodeFdfFile(const std::string& bytes) {
  DecodedFile file;
  ByteReader reader(bytes.data(), bytes.size());
  FdfContents contents = DecodeFdf(reader);
  const auto count = static_cast<int32_t>(contents.entries.size());
  if (count < contents.declared_count) {
    file.damage = "the file declares " + std::to_string(contents.declared_count) + " groups but holds only " +
                  std::to_string(count);
  } else if (contents.stored_index == kMissingIndex) {
    // The old form may end after its entries; the current one never does.
    if (contents.has_header) file.damage = "the file ends inside its group entries or before the current-group index";
  } else {
    NoteTrailingBytes(reader, "the current-group index", &file);
  }
  if (!contents.has_header) {
    file.warnings.push_back(std::string("the file has the old header") +
                            (contents.stored_index == kMissingIndex ? " and no current-group index" : "") +
                            "; build writes the current header");
  }
  GroupsDocument document;
  document.groups = std::move(contents.entries);
  const int32_t stored = contents.stored_index;
  if (stored >= 1 && stored <= count) {
    document.current_group = stored;
  } else if (stored != 0 && stored != kMissingIndex) {
    file.warnings.push_back("the current-group index " + std::to_string(stored) + " lies outside 0.." +
                            std::to_string(count) + "; the library reads it as 0, and so does build");
  }
  file.json = GroupsToJson(document);
  return file;
}

}  // namespace

DecodedFile DecodeStoreFile(const std::string& bytes, StoreKind kind) {
  return kind == StoreKind::kFdf ? DecodeFdfFile(bytes) : DecodeUdfFile(bytes);
}

StoreKind SourceKind(const Json& source) {
  if (!source.is_object()) throw ToolError(std::string("the source must be a JSON object, not ") + source.type_name());
  const bool quantities = source.contains("quantities");
  const bool groups = source.contains("groups");
  if (quantities && groups) throw ToolError("the source holds both \"quantities\" and \"groups\"; a file holds one");
  if (quantities) return StoreKind::kUdf;
  if (groups) return StoreKind::kFdf;
  throw ToolError("the source holds neither \"quantities\" (a UDF file) nor \"groups\" (an FDF file)");
}

std::string EncodeSource(const Json& source) {
  if (SourceKind(source) == StoreKind::kUdf) {
    const CatalogueDocument document = CatalogueFromJson(source);
    return EncodeUdf(document.records, document.unit_format, document.text_mode);
  }
  const GroupsDocument document = GroupsFromJson(source);
  return EncodeFdf(document.groups, document.current_group);
}

}  // namespace tool
}  // namespace units
