// The real registry. registry.h describes the SQLite store of other systems;
// here the pointer that holds the SQLite connection holds a KeyState (the
// key handle and the pending changes) instead, and:
//  - The database path means nothing: values live in the system registry
//    under the root that RegistryRoot names.
//  - A key that does not exist reads as a null key (no values), as a missing
//    database does.
//  - The plain registry interface has no transactions. A key opened for
//    writing therefore keeps its writes and deletions in memory and applies
//    them at Commit, so a save that fails before (a refused write, an
//    exception) leaves the stored content whole, as on other systems. Only a
//    registry failure during Commit itself can leave part of the changes
//    applied; Commit then reports false.
#include <windows.h>

#include <utility>
#include <vector>

#include "platform/ascii.h"
#include "platform/registry.h"

namespace units {
namespace platform {

namespace {

RegistryWriteHook g_write_hook = nullptr;

struct Change {
  std::string name;
  bool remove;
  std::string bytes;
};

struct KeyState {
  HKEY handle;
  // In order; one entry per name (names compare without regard to case).
  std::vector<Change> pending;

  Change* Pending(const std::string& name) {
    for (Change& change : pending) {
      if (EqualsIgnoreCase(change.name, name)) return &change;
    }
    return nullptr;
  }
};

KeyState* State(sqlite3* db) { return reinterpret_cast<KeyState*>(db); }

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::kUsers ? HKEY_USERS : HKEY_LOCAL_MACHINE; }

std::string SystemMessage(LONG code) {
  char text[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 static_cast<DWORD>(code), 0, text, sizeof(text), nullptr);
  std::string message = n > 0 ? std::string(text, n) : "error " + std::to_string(code);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  return message;
}

// A key path may come with separators at either end ("Software\Units\");
// the registry refuses a leading one.
std::string SubKey(const std::string& key) {
  const size_t first = key.find_first_not_of('\\');
  if (first == std::string::npos) return std::string();
  const size_t last = key.find_last_not_of('\\');
  return key.substr(first, last - first + 1);
}

bool StoredValueExists(HKEY handle, const std::string& name) {
  return RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

const char* RootName(RegistryRoot root) {
  return root == RegistryRoot::kUsers ? "HKEY_USERS" : "HKEY_LOCAL_MACHINE";
}

std::string RegistryDatabasePath(const std::string&) { return std::string(); }

std::unique_ptr<RegistryKey> RegistryKey::Open(const std::string&, RegistryRoot root, const std::string& key,
                                               Access access, std::string* error) {
  const bool writing = access == Access::kWrite;
  const std::string sub_key = SubKey(key);
  HKEY handle = nullptr;
  LONG status;
  if (writing) {
    status = RegCreateKeyExA(RootKey(root), sub_key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_READ | KEY_WRITE, nullptr, &handle, nullptr);
  } else {
    status = RegOpenKeyExA(RootKey(root), sub_key.c_str(), 0, KEY_READ, &handle);
  }
  if (status != ERROR_SUCCESS) {
    if (error != nullptr) {
      *error = std::string("cannot open ") + RootName(root) + "\\" + sub_key + ": " + SystemMessage(status);
    }
    return nullptr;
  }
  auto* state = new KeyState{handle, {}};
  return std::unique_ptr<RegistryKey>(
      new RegistryKey(reinterpret_cast<sqlite3*>(state), RootName(root), sub_key, writing));
}

RegistryKey::RegistryKey(sqlite3* db, std::string root, std::string key, bool writing)
    : db_(db), root_(std::move(root)), key_(std::move(key)), in_transaction_(writing) {}

RegistryKey::~RegistryKey() {
  // Pending changes without Commit are dropped: the stored content stays.
  RegCloseKey(State(db_)->handle);
  delete State(db_);
}

bool RegistryKey::Fail(const char* what) {
  last_error_ = std::string(what) + ": " + SystemMessage(static_cast<LONG>(GetLastError()));
  return false;
}

bool RegistryKey::Read(const std::string& name, std::string* bytes, size_t max_size) {
  KeyState& state = *State(db_);
  if (const Change* change = state.Pending(name)) {
    if (change->remove || change->bytes.size() > max_size) return false;
    *bytes = change->bytes;
    return true;
  }
  // The size first: a value of another type or above the limit is refused
  // before anything is read.
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(state.handle, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_BINARY || size > max_size) return false;
  std::vector<BYTE> buffer(size + 1);
  DWORD read = size;
  // Another process may have made the value longer meanwhile: ERROR_MORE_DATA
  // then fails the read instead of overrunning the buffer.
  if (RegQueryValueExA(state.handle, name.c_str(), nullptr, &type, buffer.data(), &read) != ERROR_SUCCESS ||
      type != REG_BINARY || read > size) {
    return false;
  }
  bytes->assign(reinterpret_cast<const char*>(buffer.data()), read);
  return true;
}

bool RegistryKey::Write(const std::string& name, const std::string& bytes) {
  if (!in_transaction_) return false;
  if (g_write_hook != nullptr && !g_write_hook(name)) {
    last_error_ = "write of " + name + " refused";
    return false;
  }
  KeyState& state = *State(db_);
  if (Change* change = state.Pending(name)) {
    *change = Change{change->name, false, bytes};
  } else {
    state.pending.push_back(Change{name, false, bytes});
  }
  return true;
}

bool RegistryKey::Delete(const std::string& name) {
  if (!in_transaction_) return false;
  KeyState& state = *State(db_);
  Change* change = state.Pending(name);
  const bool existed = change != nullptr ? !change->remove : StoredValueExists(state.handle, name);
  if (!existed) return false;
  if (change != nullptr) {
    *change = Change{change->name, true, std::string()};
  } else {
    state.pending.push_back(Change{name, true, std::string()});
  }
  return true;
}

int64_t RegistryKey::ValueCount() {
  KeyState& state = *State(db_);
  DWORD values = 0;
  if (RegQueryInfoKeyA(state.handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    values = 0;
  }
  int64_t count = values;
  for (const Change& change : state.pending) {
    const bool stored = StoredValueExists(state.handle, change.name);
    if (change.remove && stored) --count;
    if (!change.remove && !stored) ++count;
  }
  return count;
}

bool RegistryKey::Commit() {
  if (!in_transaction_) return false;
  KeyState& state = *State(db_);
  for (const Change& change : state.pending) {
    LONG status;
    if (change.remove) {
      status = RegDeleteValueA(state.handle, change.name.c_str());
      if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    } else {
      status = RegSetValueExA(state.handle, change.name.c_str(), 0, REG_BINARY,
                              reinterpret_cast<const BYTE*>(change.bytes.data()),
                              static_cast<DWORD>(change.bytes.size()));
    }
    if (status != ERROR_SUCCESS) {
      last_error_ = "commit: " + change.name + ": " + SystemMessage(status);
      return false;
    }
  }
  state.pending.clear();
  in_transaction_ = false;
  return true;
}

void SetRegistryWriteHookForTesting(RegistryWriteHook hook) { g_write_hook = hook; }

}  // namespace platform
}  // namespace units
