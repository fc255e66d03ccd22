#include "storage/udf_file.h"

#include <cstdio>
#include <utility>

#include "module/module_state.h"
#include "platform/debug_output.h"
#include "platform/files.h"
#include "storage/file_names.h"
#include "text/unit_format.h"

namespace units {

UdfContents ReadUdfFile(const std::string& resolved_path) {
  std::FILE* file = std::fopen(resolved_path.c_str(), "rb");
  if (file == nullptr) return UdfContents();
  ByteReader reader(file);
  UdfContents contents = DecodeUdf(reader);
  std::fclose(file);
  return contents;
}

bool LoadUdfFile(const std::string& name) {
  UdfContents contents = ReadUdfFile(ResolveStoreFileName(name, ".udf"));
  if (contents.has_header) {
    if (contents.unit_format >= 0) SetUnitFormat(contents.unit_format);
    if (contents.text_mode != kTextModeNotSet) SetTextMode(contents.text_mode);
  }
  const bool empty = contents.records.empty();
  TheCatalogue().Replace(std::move(contents.records));
  return !(Module().from_file_only != 0 && empty);
}

bool SaveUdfFile(const std::string& name) {
  platform::DebugOutput("UNITS-SaveUnitsToFile: Begin");
  const std::string path = ResolveStoreFileName(name, ".udf");
  platform::DebugOutput(path);
  const bool ok = platform::ReplaceFile(path, EncodeUdf(TheCatalogue().Records(), UnitFormat(), TextMode()));
  if (!ok) platform::DebugOutput("UNITS-SaveUnitsToFile: cannot write " + path);
  platform::DebugOutput("UNITS-SaveUnitsToFile: Ende");
  return ok;
}

}  // namespace units
