// Fault injection for the file savers: a debug channel pointed at a file,
// and a replacement hook that fails like a full disk, each for one test.
#ifndef UNITS_TESTS_STORAGE_SAVE_FAULTS_H_
#define UNITS_TESTS_STORAGE_SAVE_FAULTS_H_

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "test_support.h"

namespace units {
namespace testing {

// Points the debugger output channel at a file for one test.
class ScopedDebugLog {
 public:
  explicit ScopedDebugLog(const std::string& path) { setenv("UNITS_DEBUG_LOG", path.c_str(), 1); }
  ~ScopedDebugLog() { unsetenv("UNITS_DEBUG_LOG"); }
};

// Installs a file-replacement hook for one test and removes it afterwards,
// also when the test fails half way.
class ScopedReplaceHook {
 public:
  explicit ScopedReplaceHook(platform::ReplaceFileHook hook) { platform::SetReplaceFileHookForTesting(hook); }
  ~ScopedReplaceHook() { platform::SetReplaceFileHookForTesting(nullptr); }
};

// What the simulated full disk saw of the temporary file before it refused.
inline std::string g_temporary_path;
inline std::string g_temporary_bytes;

inline bool FailLikeAFullDisk(const std::string& temporary_path) {
  g_temporary_path = temporary_path;
  g_temporary_bytes = ReadWholeFile(temporary_path);
  return false;
}

}  // namespace testing
}  // namespace units

#endif  // UNITS_TESTS_STORAGE_SAVE_FAULTS_H_
