#include "storage/store_files.h"

#include "platform/debug_output.h"
#include "platform/files.h"
#include "storage/file_source.h"

namespace units {

namespace {

// `what` names the saver in the debug channel ("SaveUnitsToFile").
bool SaveFile(const char* what, const std::string& path, const std::string& bytes) {
  const std::string prefix = std::string("UNITS-") + what + ": ";
  platform::DebugOutput(prefix + "Begin");
  platform::DebugOutput(path);
  const bool ok = platform::ReplaceFile(path, bytes);
  if (!ok) platform::DebugOutput(prefix + "cannot write " + path);
  platform::DebugOutput(prefix + "Ende");
  return ok;
}

}  // namespace

UdfContents ReadUdfFile(const std::string& path) {
  FileSource file(path);
  if (!file.ok()) return UdfContents();
  ByteReader reader(&file);
  return DecodeUdf(reader);
}

FdfContents ReadFdfFile(const std::string& path) {
  FileSource file(path);
  if (!file.ok()) return FdfContents();
  ByteReader reader(&file);
  return DecodeFdf(reader);
}

bool SaveUdfFile(const std::string& path, const Catalogue& catalogue, int32_t unit_format, uint16_t text_mode) {
  return SaveFile("SaveUnitsToFile", path, EncodeUdf(catalogue, unit_format, text_mode));
}

bool SaveFdfFile(const std::string& path, const GroupTable& groups) {
  return SaveFile("SaveFilterToFile", path, EncodeFdf(groups.Entries(), groups.CurrentIndex()));
}

}  // namespace units
