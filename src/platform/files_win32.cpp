#include <windows.h>
// windows.h turns ReplaceFile into ReplaceFileA; this file defines ours under
// its own name (and under that one further down).
#undef ReplaceFile

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/files.h"

namespace units {
namespace platform {

namespace {

ReplaceFileHook g_replace_hook = nullptr;

// The temporary name is the file's name, this, and kRandomLength characters
// of kRandomAlphabet, as on Linux, so either system cleans up after the other
// on a shared folder.
constexpr char kTemporaryInfix[] = ".tmp";
constexpr size_t kRandomLength = 6;
constexpr char kRandomAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kAlphabetSize = sizeof(kRandomAlphabet) - 1;
// A younger temporary file may belong to a save still running in another
// process; an older one is what a killed save left behind. In 100 ns steps.
constexpr uint64_t kStaleAfter = 60ull * 10000000ull;
constexpr int kCreateAttempts = 100;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

size_t NameStart(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return i;
  }
  return (path.size() >= 2 && path[1] == ':') ? 2 : 0;
}

bool IsTemporaryOf(const char* entry, const std::string& prefix) {
  // Names compare without regard to case, as the file system does.
  if (prefix.size() > std::strlen(entry) || _strnicmp(entry, prefix.c_str(), prefix.size()) != 0) return false;
  const char* random = entry + prefix.size();
  if (std::strlen(random) != kRandomLength) return false;
  for (const char* c = random; *c != '\0'; ++c) {
    if (std::memchr(kRandomAlphabet, *c, kAlphabetSize) == nullptr) return false;
  }
  return true;
}

uint64_t AsNumber(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Removes the temporary files of `path` that saves killed midway left behind.
void RemoveStaleTemporaries(const std::string& path) {
  const std::string folder = path.substr(0, NameStart(path));
  const std::string prefix = path.substr(folder.size()) + kTemporaryInfix;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((path + kTemporaryInfix + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME now_time;
  GetSystemTimeAsFileTime(&now_time);
  const uint64_t now = AsNumber(now_time);
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !IsTemporaryOf(entry.cFileName, prefix)) continue;
    const uint64_t written = AsNumber(entry.ftLastWriteTime);
    if (now > written && now - written > kStaleAfter) DeleteFileA((folder + entry.cFileName).c_str());
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

// Only spreads the tries: the exclusive create makes the name unique.
void RandomBytes(unsigned char* bytes, size_t size) {
  static std::atomic<uint64_t> counter{0};
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  uint64_t mix = (static_cast<uint64_t>(now.QuadPart) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 32)) +
                 counter.fetch_add(0x9E3779B97F4A7C15u, std::memory_order_relaxed);
  for (size_t i = 0; i < size; ++i) {
    mix = mix * 6364136223846793005u + 1442695040888963407u;
    bytes[i] = static_cast<unsigned char>(mix >> 56);
  }
}

// Creates "<path>.tmpXXXXXX" exclusively. Not inherited by programs the host
// starts meanwhile (no security attributes).
HANDLE CreateTemporary(const std::string& path, std::string* temporary_path) {
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    unsigned char random[kRandomLength];
    RandomBytes(random, sizeof(random));
    std::string name = path + kTemporaryInfix;
    for (const unsigned char r : random) name += kRandomAlphabet[r % kAlphabetSize];
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      *temporary_path = std::move(name);
      return file;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    // WriteFile takes at most 4 GiB - 1 at a time.
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::string& bytes) {
  RemoveStaleTemporaries(path);
  std::string temporary_path;
  HANDLE file = CreateTemporary(path, &temporary_path);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  if (ok && g_replace_hook != nullptr) ok = g_replace_hook(temporary_path);
  // The rename replaces the old file in one step; WRITE_THROUGH returns only
  // when it is on disk. A read-only old file is refused, as Windows protects it.
  if (ok) {
    ok = MoveFileExA(temporary_path.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) {
    DeleteFileA(temporary_path.c_str());
    return false;
  }
  return true;
}

// Callers that saw windows.h (units.h includes it) ask for ReplaceFileA.
bool ReplaceFileA(const std::string& path, const std::string& bytes) { return ReplaceFile(path, bytes); }

void SetReplaceFileHookForTesting(ReplaceFileHook hook) { g_replace_hook = hook; }

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace platform
}  // namespace units
