#include <windows.h>

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
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return FileRead::kMissing;
    return Reject(bytes, error, "open: error " + std::to_string(code));
  }
  // Only a plain disk file: a pipe or device planted at the path must not
  // block the host.
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
    CloseHandle(file);
    return Reject(bytes, error, "not a regular file");
  }
  if (static_cast<unsigned long long>(size.QuadPart) > max_size) {
    CloseHandle(file);
    return Reject(bytes, error, "file size: above the limit");
  }
  bytes->resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  // The file may change under us: never read past what was sized, and treat
  // a short file as what it is.
  while (done < bytes->size()) {
    DWORD n = 0;
    if (!ReadFile(file, bytes->data() + done, static_cast<DWORD>(bytes->size() - done), &n, nullptr)) {
      CloseHandle(file);
      return Reject(bytes, error, "read: error " + std::to_string(GetLastError()));
    }
    if (n == 0) break;
    done += n;
  }
  CloseHandle(file);
  bytes->resize(done);
  return FileRead::kOk;
}

}  // namespace language
}  // namespace units
