#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "language/catalogue_file.h"

namespace units {
namespace language {

namespace {

FileRead Reject(std::vector<char>* bytes, std::string* error, const std::string& why) {
  bytes->clear();
  if (error != nullptr) *error = why;
  return FileRead::kRejected;
}

}  // namespace

FileRead ReadCatalogueFile(const std::string& path, size_t max_size, std::vector<char>* bytes, std::string* error) {
  bytes->clear();
  // O_NONBLOCK: a FIFO planted at the path must not hang the host in open().
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileRead::kMissing;
    return Reject(bytes, error, std::string("open: ") + std::strerror(errno));
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return Reject(bytes, error, "not a regular file");
  }
  if (static_cast<unsigned long long>(info.st_size) > max_size) {
    close(fd);
    return Reject(bytes, error, "file size: above the limit");
  }
  bytes->resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  // The file may change under us: never read past what was sized, and treat
  // a short file as what it is.
  while (done < bytes->size()) {
    const ssize_t n = read(fd, bytes->data() + done, bytes->size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return Reject(bytes, error, std::string("read: ") + std::strerror(errno));
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  close(fd);
  bytes->resize(done);
  return FileRead::kOk;
}

}  // namespace language
}  // namespace units
