#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/files.h"

namespace units {
namespace platform {

namespace {

ReplaceFileHook g_replace_hook = nullptr;

// The temporary name is the file's name, this, and kRandomLength characters
// of kRandomAlphabet.
constexpr char kTemporaryInfix[] = ".tmp";
constexpr size_t kRandomLength = 6;
constexpr char kRandomAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kAlphabetSize = sizeof(kRandomAlphabet) - 1;
// A younger temporary file may belong to a save still running in another
// process; an older one is what a killed save left behind.
constexpr time_t kStaleAfterSeconds = 60;
constexpr int kCreateAttempts = 100;

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

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes the rename itself durable; a failure here does not undo the save.
void SyncFolderOf(const std::string& path) {
  const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool IsTemporaryOf(const char* entry, const std::string& prefix) {
  if (std::strncmp(entry, prefix.c_str(), prefix.size()) != 0) return false;
  const char* random = entry + prefix.size();
  if (std::strlen(random) != kRandomLength) return false;
  for (const char* c = random; *c != '\0'; ++c) {
    if (std::memchr(kRandomAlphabet, *c, kAlphabetSize) == nullptr) return false;
  }
  return true;
}

// Removes the temporary files of `path` that saves killed midway left behind.
void RemoveStaleTemporaries(const std::string& path) {
  DIR* dir = opendir(FolderOf(path).c_str());
  if (dir == nullptr) return;
  const std::string prefix = NameOf(path) + kTemporaryInfix;
  const time_t now = time(nullptr);
  while (const dirent* entry = readdir(dir)) {
    if (!IsTemporaryOf(entry->d_name, prefix)) continue;
    struct stat info;
    if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
    if (now - info.st_mtime > kStaleAfterSeconds) unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

void RandomBytes(unsigned char* bytes, size_t size) {
  if (getrandom(bytes, size, GRND_NONBLOCK) == static_cast<ssize_t>(size)) return;
  // No entropy yet (early boot) or no getrandom: the exclusive create still
  // makes the name unique, this only spreads the tries.
  static std::atomic<uint64_t> counter{0};
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t mix = (static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(getpid()) << 32)) +
                 counter.fetch_add(0x9E3779B97F4A7C15u, std::memory_order_relaxed);
  for (size_t i = 0; i < size; ++i, mix >>= 8) bytes[i] = static_cast<unsigned char>(mix);
}

// Creates "<path>.tmpXXXXXX" exclusively. Mode 0666 lets the process umask
// decide, as for any file the host creates; the umask itself is never touched,
// because it is process-wide and other threads create files meanwhile.
int CreateTemporary(const std::string& path, std::string* temporary_path) {
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    unsigned char random[kRandomLength];
    RandomBytes(random, sizeof(random));
    std::string name = path + kTemporaryInfix;
    for (const unsigned char r : random) name += kRandomAlphabet[r % kAlphabetSize];
    const int fd = open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
      *temporary_path = std::move(name);
      return fd;
    }
    if (errno != EEXIST && errno != EINTR) return -1;
  }
  return -1;
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::string& bytes) {
  RemoveStaleTemporaries(path);
  struct stat old_file;
  const bool replacing = stat(path.c_str(), &old_file) == 0;
  std::string temporary_path;
  const int fd = CreateTemporary(path, &temporary_path);
  if (fd < 0) return false;
  // The file keeps the permissions it had. A folder that cannot hold them
  // (a FAT stick) refuses the change: the file keeps the creation mode.
  if (replacing) fchmod(fd, old_file.st_mode & 07777);
  bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  if (ok && g_replace_hook != nullptr) ok = g_replace_hook(temporary_path);
  if (ok) ok = std::rename(temporary_path.c_str(), path.c_str()) == 0;
  if (!ok) {
    unlink(temporary_path.c_str());
    return false;
  }
  SyncFolderOf(path);
  return true;
}

void SetReplaceFileHookForTesting(ReplaceFileHook hook) { g_replace_hook = hook; }

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

}  // namespace platform
}  // namespace units
