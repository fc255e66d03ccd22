// The registry replacement: binary values under a root and a key, kept in one
// SQLite table
//   registry_values(root, key, name, type, data, PRIMARY KEY(root, key, name))
// with key and value names compared without regard to case, also in a table
// made elsewhere without that collation; writing a name that differs only in
// case replaces that value and keeps its stored spelling. A key opened for
// writing is one transaction: nothing reaches the database until Commit, and
// a key destroyed without Commit leaves the previous content whole.
#ifndef UNITS_PLATFORM_REGISTRY_H_
#define UNITS_PLATFORM_REGISTRY_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>


struct sqlite3;

namespace units {
namespace platform {

// Which part of the store a registry path lies in.
enum class RegistryRoot { kLocalMachine, kUsers };

const char* RootName(RegistryRoot root);

// The database file: $UNITS_REGISTRY_DB, else REGISTRY.DB in `data_folder`.
std::string RegistryDatabasePath(const std::string& data_folder);

class RegistryKey {
 public:
  enum class Access { kRead, kWrite };

  // Null when the store cannot be used (a missing database when reading, a
  // locked, read-only or damaged one); `error` then says why.
  static std::unique_ptr<RegistryKey> Open(const std::string& database, RegistryRoot root, const std::string& key,
                                           Access access, std::string* error);
  ~RegistryKey();

  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // False when the value is absent or longer than `max_size` bytes.
  bool Read(const std::string& name, std::string* bytes, size_t max_size);
  bool Write(const std::string& name, const std::string& bytes);
  // False when there was no such value.
  bool Delete(const std::string& name);
  // Number of values under the key.
  int64_t ValueCount();
  bool Commit();

  const std::string& LastError() const { return last_error_; }

 private:
  RegistryKey(sqlite3* db, std::string root, std::string key, bool writing);
  bool Fail(const char* what);

  sqlite3* db_;
  std::string root_;
  std::string key_;
  bool in_transaction_;
  std::string last_error_;
};

// Test hook: called before each value write; returning false makes the write
// fail as a full disk would.
using RegistryWriteHook = bool (*)(const std::string& name);
void SetRegistryWriteHookForTesting(RegistryWriteHook hook);

}  // namespace platform
}  // namespace units

#endif  // UNITS_PLATFORM_REGISTRY_H_
