// Reading and writing whole UDF and FDF files.
#ifndef UNITS_STORAGE_STORE_FILES_H_
#define UNITS_STORAGE_STORE_FILES_H_

#include <string>

#include "model/fdf_format.h"
#include "model/udf_format.h"

namespace units {

// Reads a UDF file (current or old header). A file that cannot be opened
// reads as empty.
UdfContents ReadUdfFile(const std::string& path);
// Reads an FDF file (either header form); a missing file reads as empty.
FdfContents ReadFdfFile(const std::string& path);

// Write a whole file; the previous file is replaced only by a complete new
// one. False when the write failed (the old file is then untouched).
bool SaveUdfFile(const std::string& path, const Catalogue& catalogue, int32_t unit_format, uint16_t text_mode);
bool SaveFdfFile(const std::string& path, const GroupTable& groups);

}  // namespace units

#endif  // UNITS_STORAGE_STORE_FILES_H_
