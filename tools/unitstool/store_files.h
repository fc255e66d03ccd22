// Files of the tool: reading and replacing them, telling a UDF from an FDF
// file, and finding a bare file name in the library's data folder. Replacing,
// the data folder and the name rules are the library's own.
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
// platform::ReplaceFile: a failure never leaves a half-written file. Throws
// ToolError.
void ReplaceFile(const std::string& path, const std::string& bytes);

// By the file's current header, which tells the two formats apart.
StoreKind KindFromContent(const std::string& bytes);
// By the extension, ".udf" or ".fdf" in any case.
StoreKind KindFromName(const std::string& path);

// The data folder of the loaded libunits.so, found as the library finds it.
std::string DataFolder();

// Where `dump` finds a file: ResolveStoreFileName's rules (a bare name lies in
// `data_folder`, a name differing only in letter case is taken), except that
// a bare name without extension gets ".udf" or ".fdf", whichever exists.
// Throws ToolError when no file, or both, would do.
std::string ResolveStoreFile(const std::string& name, const std::string& data_folder);

}  // namespace tool
}  // namespace units

#endif  // UNITS_TOOLS_UNITSTOOL_STORE_FILES_H_
