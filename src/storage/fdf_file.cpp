#include "storage/fdf_file.h"

#include <cstdio>
#include <utility>

#include "platform/debug_output.h"
#include "platform/files.h"
#include "storage/file_names.h"

namespace units {

FdfContents ReadFdfFile(const std::string& resolved_path) {
  std::FILE* file = std::fopen(resolved_path.c_str(), "rb");
  if (file == nullptr) return FdfContents();
  ByteReader reader(file);
  FdfContents contents = DecodeFdf(reader);
  std::fclose(file);
  return contents;
}

bool LoadFdfFile(const std::string& name) {
  FdfContents contents = ReadFdfFile(ResolveStoreFileName(name, ".fdf"));
  GroupTable& groups = TheGroups();
  const bool any = !contents.entries.empty();
  groups.Replace(std::move(contents.entries));
  groups.SetCurrentIndex(contents.stored_index >= 1 ? contents.stored_index : 0);
  return any;
}

bool SaveFdfFile(const std::string& name) {
  platform::DebugOutput("UNITS-SaveFilterToFile: Begin");
  const std::string path = ResolveStoreFileName(name, ".fdf");
  platform::DebugOutput(path);
  const GroupTable& groups = TheGroups();
  const bool ok = platform::ReplaceFile(path, EncodeFdf(groups.Entries(), groups.CurrentIndex()));
  if (!ok) platform::DebugOutput("UNITS-SaveFilterToFile: cannot write " + path);
  platform::DebugOutput("UNITS-SaveFilterToFile: Ende");
  return ok;
}

}  // namespace units
