// Files of the tool: reading and atomically replacing them, telling a UDF
// from an FDF file, and finding a bare file name in the library's data folder.
#ifndef UNITS_TOOLS_UNITSTOOL_STORE_FILES_H_
#define UNITS_TOOLS_UNITSTOOL_STORE_FILES_H_

#include <string>

namespace units {
namespace tool {

enum class StoreKind { kUnknown, kUdf, kFdf };

const char* KindName(StoreKind kind);  // "UDF", "FDF"
// "a UDF file", "an FDF file".
std::string KindPhrase(StoreKind kind);

// Throws ToolError when the file cannot be read.
std::string ReadWholeFile(const std::string& path);
// Writes a temporary file in the same folder and renames it over `path`, so
// that a failure never leaves a half-written file. Throws ToolError.
void ReplaceFile(const std::string& path, const std::string& bytes);

// By the file's current header, which tells the two formats apart.
StoreKind KindFromContent(const std::string& bytes);
// By the extension, ".udf" or ".fdf" in any case.
StoreKind KindFromName(const std::string& path);

// The library's data folder: the folder of the loaded libunits.so followed
// by "Units/".
std::string DataFolder();

// Where `dump` finds a file. A name with a directory is used as it is. A
// bare name lies in the data folder; without an extension it gets ".udf" or
// ".fdf", whichever exists. Where the exact name is missing, a name that
// differs only in letter case is taken, as Windows would. Throws ToolError.
std::string ResolveStoreFile(const std::string& name);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_STORE_FILES_H_
