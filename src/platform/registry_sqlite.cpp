// The Registry calls over SQLite. A handle is an opaque token, never dereferenced and never
// reused, so a closed or foreign handle is recognised (ERROR_INVALID_HANDLE) rather than followed.
// The first open key starts a write transaction and closing the last one commits it.
#include "platform/registry_sqlite.h"

#include <sqlite3.h>

#include <atomic>
#include <cstring>

#include "platform/registry_schema.h"

namespace qlx {

struct RegKey {};  // only its address is used, for HKEY_CURRENT_USER
namespace {
RegKey currentUserKey;
}  // namespace
const HKEY HKEY_CURRENT_USER = &currentUserKey;

namespace {

// Tokens for opened keys: odd numbers counting up from far beyond any object's address range
// start; shared by every Registry so that a handle of one store is foreign to another.
std::atomic<uintptr_t> nextToken{0x10001};

HKEY newHandle() {
  return reinterpret_cast<HKEY>(nextToken.fetch_add(2, std::memory_order_relaxed));
}

// A prepared statement that finalises itself.
class Stmt {
 public:
  Stmt(sqlite3* db, const char* sql) { rc_ = sqlite3_prepare_v2(db, sql, -1, &st_, nullptr); }
  ~Stmt() { sqlite3_finalize(st_); }
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;
  bool ok() const { return rc_ == SQLITE_OK; }
  void bind(int i, int64_t v) { keep(sqlite3_bind_int64(st_, i, v)); }
  void bind(int i, const std::string& s) {
    keep(sqlite3_bind_text(st_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT));
  }
  void bindBlob(int i, const uint8_t* p, DWORD n) {
    // A zero-length blob must still be a blob, not NULL: bind an empty one explicitly.
    keep(n == 0 ? sqlite3_bind_zeroblob(st_, i, 0)
                : sqlite3_bind_blob(st_, i, p, static_cast<int>(n), SQLITE_TRANSIENT));
  }
  // SQLITE_ROW, SQLITE_DONE or an error.
  int step() { return ok() ? sqlite3_step(st_) : rc_; }
  sqlite3_stmt* get() { return st_; }
  std::string text(int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, col));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(st_, col))) : std::string();
  }

 private:
  void keep(int rc) {
    if (rc_ == SQLITE_OK) rc_ = rc;
  }
  sqlite3_stmt* st_ = nullptr;
  int rc_;
};

// Splits a key path at backslashes; one trailing backslash is allowed, empty names are not.
bool splitPath(const char* path, std::vector<std::string>* parts) {
  parts->clear();
  if (path == nullptr) return true;
  std::string s(path);
  if (!s.empty() && s.back() == '\\') s.pop_back();
  if (s.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t end = s.find('\\', start);
    const std::string name =
        s.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (name.empty()) return false;
    parts->push_back(name);
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

}  // namespace

SqliteRegistry::SqliteRegistry(sqlite3* db, const RegistryOptions& options, bool readOnly)
    : db_(db), readOnly_(readOnly), failWriteAt_(options.failWriteAt) {}

bool SqliteRegistry::faultInjected() { return ++writes_ == failWriteAt_; }

SqliteRegistry::~SqliteRegistry() {
  if (db_ == nullptr) return;
  if (!handles_.empty() && !sqlite3_get_autocommit(db_))
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close_v2(db_);
}

int64_t SqliteRegistry::keyId(HKEY key) const {
  if (key == HKEY_CURRENT_USER) return db_ ? regschema::kRootKeyId : -1;
  const auto it = handles_.find(key);
  return it == handles_.end() ? -1 : it->second;
}

LONG SqliteRegistry::fail() {
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  if (!handles_.empty()) txFailed_ = true;  // nothing more of this save is written
  return ERROR_ACCESS_DENIED;
}

LONG SqliteRegistry::beginIfFirst() {
  if (!handles_.empty()) return txFailed_ ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
  // IMMEDIATE takes the write lock now, waiting out another copy's save up to the busy timeout;
  // a read-only store reads one snapshot.
  if (sqlite3_exec(db_, readOnly_ ? "BEGIN" : "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) !=
      SQLITE_OK)
    return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

void SqliteRegistry::endIfLast() {
  if (!handles_.empty()) return;
  wrote_ = false;
  refused_ = false;
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  txFailed_ = false;
}

LONG SqliteRegistry::walk(HKEY parent, const char* subKey, Walk mode, const char* keyClass,
                          HKEY* result, DWORD* disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (db_ == nullptr)
    return parent == HKEY_CURRENT_USER ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
  int64_t id = keyId(parent);
  if (id < 0) return ERROR_INVALID_HANDLE;
  std::vector<std::string> parts;
  if (!splitPath(subKey, &parts) || parts.size() > static_cast<size_t>(kMaxKeyDepth))
    return ERROR_INVALID_PARAMETER;

  const bool first = handles_.empty();
  if (const LONG rc = beginIfFirst(); rc != ERROR_SUCCESS) return rc;
  // On any failure below, a transaction this call started is ended again.
  auto abandon = [&](LONG rc) {
    if (first)
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    else if (rc == ERROR_ACCESS_DENIED)
      fail();
    return rc;
  };

  bool created = false;
  const std::string cls = keyClass ? keyClass : "";
  for (const std::string& name : parts) {
    Stmt find(db_, "SELECT id FROM keys WHERE parent=?1 AND name=?2");
    find.bind(1, id);
    find.bind(2, name);
    const int rc = find.step();
    if (rc == SQLITE_ROW) {
      id = sqlite3_column_int64(find.get(), 0);
      continue;
    }
    if (rc != SQLITE_DONE) return abandon(ERROR_ACCESS_DENIED);
    if (mode == Walk::Open) return abandon(ERROR_FILE_NOT_FOUND);
    if (readOnly_) {  // nothing can be made; what the store holds stays readable
      if (first)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      else
        refused_ = true;
      return ERROR_ACCESS_DENIED;
    }
    if (faultInjected()) return abandon(ERROR_ACCESS_DENIED);
    Stmt add(db_, "INSERT INTO keys(parent, name, class) VALUES (?1, ?2, ?3)");
    add.bind(1, id);
    add.bind(2, name);
    add.bind(3, cls);
    if (add.step() != SQLITE_DONE) return abandon(ERROR_ACCESS_DENIED);
    wrote_ = true;
    id = sqlite3_last_insert_rowid(db_);
    created = true;
  }
  const HKEY handle = newHandle();
  handles_.emplace(handle, id);
  *result = handle;
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG SqliteRegistry::RegOpenKeyExA(HKEY parent, const char* subKey, DWORD, DWORD, HKEY* result) {
  return walk(parent, subKey, Walk::Open, nullptr, result, nullptr);
}

LONG SqliteRegistry::RegCreateKeyExA(HKEY parent, const char* subKey, DWORD, const char* keyClass,
                                     DWORD, DWORD, const void*, HKEY* result, DWORD* disposition) {
  return walk(parent, subKey, Walk::Create, keyClass, result, disposition);
}

LONG SqliteRegistry::RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type,
                                      uint8_t* data, DWORD* cbData) {
  const int64_t id = keyId(key);
  if (id < 0) return db_ || key != HKEY_CURRENT_USER ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED;
  if (data != nullptr && cbData == nullptr) return ERROR_INVALID_PARAMETER;
  if (txFailed_) return ERROR_ACCESS_DENIED;
  Stmt q(db_, "SELECT type, data FROM vals WHERE key=?1 AND name=?2");
  q.bind(1, id);
  q.bind(2, std::string(valueName ? valueName : ""));
  const int rc = q.step();
  if (rc == SQLITE_DONE) return ERROR_FILE_NOT_FOUND;
  if (rc != SQLITE_ROW) return fail();
  const DWORD storedType = static_cast<DWORD>(sqlite3_column_int64(q.get(), 0));
  const void* bytes = sqlite3_column_blob(q.get(), 1);
  const DWORD size = static_cast<DWORD>(sqlite3_column_bytes(q.get(), 1));
  if (type) *type = storedType;
  if (cbData == nullptr) return ERROR_SUCCESS;
  if (data == nullptr) {
    *cbData = size;
    return ERROR_SUCCESS;
  }
  const DWORD room = *cbData;
  *cbData = size;
  if (size > room) return ERROR_MORE_DATA;
  if (size > 0) std::memcpy(data, bytes, size);
  return ERROR_SUCCESS;
}

LONG SqliteRegistry::RegSetValueExA(HKEY key, const char* valueName, DWORD, DWORD type,
                                    const uint8_t* data, DWORD cbData) {
  const int64_t id = keyId(key);
  if (id < 0) return db_ || key != HKEY_CURRENT_USER ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED;
  if (data == nullptr && cbData > 0) return ERROR_INVALID_PARAMETER;
  if (cbData > 0x7FFFFFFF) return ERROR_INVALID_PARAMETER;
  if (txFailed_) return ERROR_ACCESS_DENIED;
  if (readOnly_) {  // refused, and the save will say so; what the store holds stays readable
    refused_ = true;
    return ERROR_ACCESS_DENIED;
  }
  if (faultInjected()) return fail();
  // A name differing only in case replaces the value and keeps the name as first written.
  Stmt set(db_,
           "INSERT INTO vals(key, name, type, data) VALUES (?1, ?2, ?3, ?4) "
           "ON CONFLICT(key, name) DO UPDATE SET type=excluded.type, data=excluded.data");
  set.bind(1, id);
  set.bind(2, std::string(valueName ? valueName : ""));
  set.bind(3, static_cast<int64_t>(type));
  set.bindBlob(4, data, cbData);
  if (set.step() != SQLITE_DONE) return fail();
  wrote_ = true;
  return ERROR_SUCCESS;
}

LONG SqliteRegistry::RegCloseKey(HKEY key) {
  if (key == HKEY_CURRENT_USER) return ERROR_SUCCESS;  // predefined: closing it does nothing
  const auto it = handles_.find(key);
  if (it == handles_.end()) return ERROR_INVALID_HANDLE;
  handles_.erase(it);
  if (!handles_.empty()) return ERROR_SUCCESS;
  if (txFailed_ || refused_) {
    endIfLast();
    return ERROR_ACCESS_DENIED;
  }
  const bool wrote = wrote_;
  wrote_ = false;
  if ((wrote && faultInjected()) ||
      sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    endIfLast();
    return ERROR_ACCESS_DENIED;
  }
  return ERROR_SUCCESS;
}

void SqliteRegistry::discardOpenKeys() {
  handles_.clear();
  endIfLast();
}

LONG SqliteRegistry::queryKeyClass(HKEY key, std::string* keyClass) {
  const int64_t id = keyId(key);
  if (id < 0) return db_ || key != HKEY_CURRENT_USER ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED;
  if (keyClass == nullptr) return ERROR_INVALID_PARAMETER;
  if (txFailed_) return ERROR_ACCESS_DENIED;
  Stmt q(db_, "SELECT class FROM keys WHERE id=?1");
  q.bind(1, id);
  if (q.step() != SQLITE_ROW) return fail();
  *keyClass = q.text(0);
  return ERROR_SUCCESS;
}

LONG SqliteRegistry::listSubKeys(HKEY key, std::vector<std::string>* names) {
  const int64_t id = keyId(key);
  if (id < 0) return db_ || key != HKEY_CURRENT_USER ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED;
  if (txFailed_) return ERROR_ACCESS_DENIED;
  names->clear();
  Stmt q(db_, "SELECT name FROM keys WHERE parent=?1 ORDER BY name");
  q.bind(1, id);
  int rc;
  while ((rc = q.step()) == SQLITE_ROW) names->push_back(q.text(0));
  return rc == SQLITE_DONE ? ERROR_SUCCESS : fail();
}

LONG SqliteRegistry::listValues(HKEY key, std::vector<RegValueEntry>* values) {
  const int64_t id = keyId(key);
  if (id < 0) return db_ || key != HKEY_CURRENT_USER ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED;
  if (txFailed_) return ERROR_ACCESS_DENIED;
  values->clear();
  Stmt q(db_, "SELECT name, type, data FROM vals WHERE key=?1 ORDER BY rowid");
  q.bind(1, id);
  int rc;
  while ((rc = q.step()) == SQLITE_ROW) {
    RegValueEntry v;
    v.name = q.text(0);
    v.type = static_cast<DWORD>(sqlite3_column_int64(q.get(), 1));
    const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(q.get(), 2));
    v.data.assign(p, p + sqlite3_column_bytes(q.get(), 2));
    values->push_back(std::move(v));
  }
  return rc == SQLITE_DONE ? ERROR_SUCCESS : fail();
}

}  // namespace qlx
