// Loading the group table from an FDF file and saving it to one.
#ifndef UNITS_STORAGE_FDF_FILE_H_
#define UNITS_STORAGE_FDF_FILE_H_

#include <string>

#include "storage/fdf_format.h"

namespace units {

// Reads an FDF file (either header form) without touching library state.
FdfContents ReadFdfFile(const std::string& resolved_path);

// Replaces the group table with the groups of `name` (resolved against the
// data folder) and takes the stored index when it lies in 1..groups. True
// when the file gave at least one group.
bool LoadFdfFile(const std::string& name);

// Writes the group table and the current index; the previous file is replaced
// only by a complete new one. False when the write failed.
bool SaveFdfFile(const std::string& name);

}  // namespace units

#endif  // UNITS_STORAGE_FDF_FILE_H_
