#include <sqlite3.h>

#include <cstdlib>
#include <utility>

#include "platform/registry.h"

namespace units {
namespace platform {

namespace {

RegistryWriteHook g_write_hook = nullptr;

constexpr int kBusyTimeoutMs = 2000;

const char kCreateTable[] =
    "CREATE TABLE IF NOT EXISTS registry_values("
    "root TEXT NOT NULL, key TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE, "
    "type INTEGER NOT NULL, data BLOB, PRIMARY KEY(root, key, name))";

// Every statement states the collation itself: a table that another program
// made from the same schema without COLLATE NOCASE must compare names alike.
// The root is one of two fixed spellings and compares exactly.
#define KEY_MATCH "root = ?1 AND key = ?2 COLLATE NOCASE"
#define VALUE_MATCH KEY_MATCH " AND name = ?3 COLLATE NOCASE"

// One prepared statement, finalised on every path.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { ok_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) == SQLITE_OK; }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return ok_; }
  void Text(int index, const std::string& text) {
    if (ok_) ok_ = sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
  }
  void Blob(int index, const std::string& bytes) {
    if (ok_) {
      ok_ = sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT) ==
            SQLITE_OK;
    }
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return ok_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  sqlite3_stmt* get() { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  bool ok_ = false;
};

bool Execute(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

}  // namespace

const char* RootName(RegistryRoot root) {
  return root == RegistryRoot::kUsers ? "HKEY_USERS" : "HKEY_LOCAL_MACHINE";
}

std::string RegistryDatabasePath(const std::string& data_folder) {
  const char* path = std::getenv("UNITS_REGISTRY_DB");
  if (path != nullptr && *path != '\0') return path;
  return data_folder + "REGISTRY.DB";
}

std::unique_ptr<RegistryKey> RegistryKey::Open(const std::string& database, RegistryRoot root,
                                               const std::string& key, Access access, std::string* error) {
  const bool writing = access == Access::kWrite;
  // Reading never creates the database: a store that does not exist yet
  // simply holds no values.
  const int flags = writing ? (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) : SQLITE_OPEN_READONLY;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(database.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    *error = "cannot open " + database + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  bool ok = true;
  if (writing) {
    ok = Execute(db, "BEGIN IMMEDIATE") && Execute(db, kCreateTable);
  } else {
    // Also proves that the file is a database and holds the table.
    ok = Execute(db, "SELECT count(*) FROM registry_values WHERE 0");
  }
  if (!ok) {
    *error = database + ": " + sqlite3_errmsg(db);
    if (writing) Execute(db, "ROLLBACK");
    sqlite3_close(db);
    return nullptr;
  }
  return std::unique_ptr<RegistryKey>(new RegistryKey(db, RootName(root), key, writing));
}

RegistryKey::RegistryKey(sqlite3* db, std::string root, std::string key, bool writing)
    : db_(db), root_(std::move(root)), key_(std::move(key)), in_transaction_(writing) {}

RegistryKey::~RegistryKey() {
  if (in_transaction_) Execute(db_, "ROLLBACK");
  sqlite3_close(db_);
}

bool RegistryKey::Fail(const char* what) {
  last_error_ = std::string(what) + ": " + sqlite3_errmsg(db_);
  return false;
}

bool RegistryKey::Read(const std::string& name, std::string* bytes, size_t max_size) {
  Statement select(db_, "SELECT data FROM registry_values WHERE " VALUE_MATCH " LIMIT 1");
  select.Text(1, root_);
  select.Text(2, key_);
  select.Text(3, name);
  if (select.Step() != SQLITE_ROW) return false;
  const int size = sqlite3_column_bytes(select.get(), 0);
  if (size < 0 || static_cast<size_t>(size) > max_size) return false;
  const void* data = sqlite3_column_blob(select.get(), 0);
  bytes->assign(static_cast<const char*>(data), data == nullptr ? 0 : static_cast<size_t>(size));
  return true;
}

bool RegistryKey::Write(const std::string& name, const std::string& bytes) {
  if (!in_transaction_) return false;
  if (g_write_hook != nullptr && !g_write_hook(name)) {
    last_error_ = "write of " + name + " refused";
    return false;
  }
  // An upsert would not see a twin that differs only in case when the table
  // lacks the collation, so update first, keeping the stored spelling, and
  // insert only a value that is not there in any spelling.
  Statement update(db_, "UPDATE registry_values SET type = 3, data = ?4 WHERE " VALUE_MATCH);
  update.Text(1, root_);
  update.Text(2, key_);
  update.Text(3, name);
  update.Blob(4, bytes);
  if (update.Step() != SQLITE_DONE) return Fail("write");
  if (sqlite3_changes(db_) > 0) return true;
  // A new value joins its key as that key is already spelt.
  Statement insert(db_,
                   "INSERT INTO registry_values(root, key, name, type, data) VALUES(?1, "
                   "COALESCE((SELECT key FROM registry_values WHERE " KEY_MATCH " LIMIT 1), ?2), ?3, 3, ?4)");
  insert.Text(1, root_);
  insert.Text(2, key_);
  insert.Text(3, name);
  insert.Blob(4, bytes);
  return insert.Step() == SQLITE_DONE || Fail("write");
}

bool RegistryKey::Delete(const std::string& name) {
  if (!in_transaction_) return false;
  Statement remove(db_, "DELETE FROM registry_values WHERE " VALUE_MATCH);
  remove.Text(1, root_);
  remove.Text(2, key_);
  remove.Text(3, name);
  return remove.Step() == SQLITE_DONE && sqlite3_changes(db_) > 0;
}

int64_t RegistryKey::ValueCount() {
  Statement count(db_, "SELECT count(*) FROM registry_values WHERE " KEY_MATCH);
  count.Text(1, root_);
  count.Text(2, key_);
  return count.Step() == SQLITE_ROW ? sqlite3_column_int64(count.get(), 0) : 0;
}

bool RegistryKey::Commit() {
  if (!in_transaction_) return false;
  if (!Execute(db_, "COMMIT")) return Fail("commit");
  in_transaction_ = false;
  return true;
}

void SetRegistryWriteHookForTesting(RegistryWriteHook hook) { g_write_hook = hook; }

#undef KEY_MATCH
#undef VALUE_MATCH

}  // namespace platform
}  // namespace units
