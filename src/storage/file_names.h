// Where a stored file lies: a name without directory lies in the data folder.
#ifndef UNITS_STORAGE_FILE_NAMES_H_
#define UNITS_STORAGE_FILE_NAMES_H_

#include <string>

namespace units {

// A name without extension gets `default_extension` (".udf", ".fdf"); a name
// without drive and directory is placed in the data folder. A name with a
// directory is used unchanged, without the default extension. An existing
// file whose name differs only in letter case is taken for the name.
std::string ResolveStoreFileName(const std::string& name, const char* default_extension);

}  // namespace units

#endif  // UNITS_STORAGE_FILE_NAMES_H_
