// File services for the stores: replacing a file without ever leaving it half
// written.
#ifndef UNITS_PLATFORM_FILES_H_
#define UNITS_PLATFORM_FILES_H_

#include <string>

namespace units {
namespace platform {

// Writes `bytes` to a temporary file "<path>.tmpXXXXXX" beside `path`,
// flushes it to disk and renames it over `path`. The result has the
// permissions of the file it replaces, else those a plain create gives under
// the process umask. On any failure the temporary file is removed, the
// previous file stays as it was, and the result is false. Temporary files of
// `path` older than a minute, left by saves that were killed, are removed.
bool ReplaceFile(const std::string& path, const std::string& bytes);

// fopen modes for files that programs the host starts must not inherit:
// "e" (close on exec) on POSIX, "N" (not inherited) in the Windows C
// runtime, which rejects the other's letter.
#if defined(_WIN32)
inline constexpr char kReadBinaryMode[] = "rbN";
inline constexpr char kAppendMode[] = "aN";
#else
inline constexpr char kReadBinaryMode[] = "rbe";
inline constexpr char kAppendMode[] = "ae";
#endif

// True when `path` names an existing file (or folder).
bool FileExists(const std::string& path);

// Test hook: when set, called before the rename; returning false makes the
// write fail as a full disk would.
using ReplaceFileHook = bool (*)(const std::string& temporary_path);
void SetReplaceFileHookForTesting(ReplaceFileHook hook);

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_FILES_H_
