#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/files.h"

namespace units {
namespace platform {

namespace {

ReplaceFileHook g_replace_hook = nullptr;

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Makes the rename itself durable; a failure here does not undo the save.
void SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::string& bytes) {
  std::vector<char> temporary(path.begin(), path.end());
  const std::string suffix = ".tmpXXXXXX";
  temporary.insert(temporary.end(), suffix.begin(), suffix.end());
  temporary.push_back('\0');
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  const std::string temporary_path = temporary.data();
  // Keep the permissions a plain create would give.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  if (ok && g_replace_hook != nullptr) ok = g_replace_hook(temporary_path);
  if (ok) ok = std::rename(temporary_path.c_str(), path.c_str()) == 0;
  if (!ok) {
    std::remove(temporary_path.c_str());
    return false;
  }
  SyncFolderOf(path);
  return true;
}

void SetReplaceFileHookForTesting(ReplaceFileHook hook) { g_replace_hook = hook; }

}  // namespace platform
}  // namespace units
