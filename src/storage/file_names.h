// Where a stored file lies: a name without directory lies in the data folder.
#ifndef UNITS_STORAGE_FILE_NAMES_H_
#define UNITS_STORAGE_FILE_NAMES_H_

#include <string>

namespace units {

// A name without drive and directory is placed in `data_folder` and, without
// extension, gets `default_extension` (".udf", ".fdf"); a name with a
// directory is used unchanged. An existing file whose name differs only in
// letter case is taken for the name.
std::string ResolveStoreFileName(const std::string& name, const char* default_extension,
                                 const std::string& data_folder);

// The rule for a file to import: a name without directory takes drive and
// directory from `data_folder`; a name without extension gets ".udf" (also
// one with a directory).
std::string ResolveImportFileName(const std::string& name, const std::string& data_folder);

}  // namespace units

#endif  // UNITS_STORAGE_FILE_NAMES_H_
