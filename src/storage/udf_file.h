// Loading the catalogue from a UDF file and saving it to one.
#ifndef UNITS_STORAGE_UDF_FILE_H_
#define UNITS_STORAGE_UDF_FILE_H_

#include <string>

#include "storage/udf_format.h"

namespace units {

// Reads a UDF file (current or old header) without touching library state.
// A file that cannot be opened reads as empty.
UdfContents ReadUdfFile(const std::string& resolved_path);

// Replaces the catalogue with the records of `name` (resolved against the data
// folder) and applies the settings the header sets. False only in file-only
// mode when the file gave no quantity, so that the caller can fall back.
bool LoadUdfFile(const std::string& name);

// Writes the whole catalogue with the current unit format and text mode. The
// previous file is replaced only by a complete new one; false when the write
// failed (the old file is then untouched).
bool SaveUdfFile(const std::string& name);

}  // namespace units

#endif  // UNITS_STORAGE_UDF_FILE_H_
