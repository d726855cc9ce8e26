// The settings file's tables, the checks run when it is opened, and the salvage of a damaged
// file. Key and value names use SQLite's NOCASE collation, which folds ASCII letters only, as the
// game's names need.
#include "platform/registry_schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

namespace qlx::regschema {
namespace {

// Marks the file as ours ("QLXR"), so a foreign SQLite file is never taken for a store.
constexpr int kApplicationId = 0x514C5852;
constexpr int kSchemaVersion = 1;

// The tables exactly as created; a file whose tables read otherwise is not ours.
const char* const kKeysTable =
    "CREATE TABLE keys("
    "  id INTEGER PRIMARY KEY,"
    "  parent INTEGER NOT NULL,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  class TEXT NOT NULL,"
    "  UNIQUE(parent, name))";
const char* const kValsTable =
    "CREATE TABLE vals("
    "  key INTEGER NOT NULL REFERENCES keys(id),"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  PRIMARY KEY(key, name))";
const char* const kFixedKeys =
    "INSERT INTO keys(id, parent, name, class) VALUES (1, 0, 'HKEY_CURRENT_USER', '');"
    "INSERT INTO keys(id, parent, name, class) VALUES (2, 1, 'Software', '');";

// Runs a one-row query and returns its first column as text; rc gets the SQLite result.
std::string queryText(sqlite3* db, const char* sql, int* rc) {
  sqlite3_stmt* st = nullptr;
  std::string text;
  *rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
  if (*rc == SQLITE_OK) {
    *rc = sqlite3_step(st);
    if (*rc == SQLITE_ROW) {
      const unsigned char* t = sqlite3_column_text(st, 0);
      if (t) text = reinterpret_cast<const char*>(t);
      *rc = SQLITE_OK;
    } else if (*rc == SQLITE_DONE) {
      *rc = SQLITE_OK;
    } else {
      *rc = sqlite3_errcode(db);
    }
  }
  sqlite3_finalize(st);
  return text;
}

Check failure(sqlite3* db, int rc, std::string* why) {
  *why = sqlite3_errmsg(db);
  return isDamageCode(rc) ? Check::Damaged : Check::Failed;
}

// The mark, the version and the number of schema objects, read in one snapshot so that a store
// another copy is creating at this moment is never seen half made.
struct Mark {
  std::string appId, version, objects;
  bool empty() const { return appId == "0" && objects == "0"; }
};

int readMark(sqlite3* db, Mark* mark) {
  int rc = SQLITE_OK;
  mark->appId = queryText(db, "PRAGMA application_id", &rc);
  if (rc == SQLITE_OK) mark->version = queryText(db, "PRAGMA user_version", &rc);
  if (rc == SQLITE_OK) mark->objects = queryText(db, "SELECT count(*) FROM sqlite_master", &rc);
  return rc;
}

// Creates the tables in an empty file under the write lock, judging it empty again under it: two
// copies of the game starting at once on a new file must not both create them.
Check create(sqlite3* db, std::string* why) {
  if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
    return failure(db, sqlite3_errcode(db), why);
  Mark mark;
  if (const int rc = readMark(db, &mark); rc != SQLITE_OK) {
    const Check c = failure(db, rc, why);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return c;
  }
  if (!mark.empty()) {  // another copy made the tables first
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return Check::Ours;
  }
  const std::string sql = std::string(kKeysTable) + ";" + kValsTable + ";" + kFixedKeys +
                          "PRAGMA application_id=" + std::to_string(kApplicationId) +
                          ";PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";COMMIT;";
  char* err = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  if (rc != SQLITE_OK) {
    *why = err ? err : sqlite3_errmsg(db);
    sqlite3_free(err);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return isDamageCode(rc) ? Check::Damaged : Check::Failed;
  }
  return Check::Ours;
}

// Our two tables with their indexes and nothing else, the two fixed keys, and no key that is its
// own parent (which would make any walk of the tree go round for ever).
Check checkTables(sqlite3* db, std::string* why) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, "SELECT type, name, sql FROM sqlite_master", -1, &st, nullptr);
  if (rc != SQLITE_OK) return failure(db, rc, why);
  std::vector<std::string> found;
  bool sameTables = true;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    const auto* sql = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
    found.push_back(std::string(type ? type : "") + " " + (name ? name : ""));
    if (name && std::strcmp(name, "keys") == 0)
      sameTables &= sql && std::strcmp(sql, kKeysTable) == 0;
    if (name && std::strcmp(name, "vals") == 0)
      sameTables &= sql && std::strcmp(sql, kValsTable) == 0;
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) return failure(db, rc, why);
  const std::vector<std::string> expected = {
      "index sqlite_autoindex_keys_1", "index sqlite_autoindex_vals_1", "table keys", "table vals"};
  std::sort(found.begin(), found.end());
  if (!sameTables || found != expected) {
    *why = "its tables are not as expected";
    return Check::Damaged;
  }
  const std::string fixedKeys = queryText(db,
                                          "SELECT count(*) FROM keys WHERE (id=1 AND parent=0) OR "
                                          "(id=2 AND parent=1 AND name='Software')",
                                          &rc);
  if (rc != SQLITE_OK) return failure(db, rc, why);
  if (fixedKeys != "2") {
    *why = "its tables are not as expected (the top keys are missing)";
    return Check::Damaged;
  }
  const std::string loops = queryText(db, "SELECT count(*) FROM keys WHERE parent=id", &rc);
  if (rc != SQLITE_OK) return failure(db, rc, why);
  if (loops != "0") {
    *why = "a key in it is its own parent";
    return Check::Damaged;
  }
  return Check::Ours;
}

// --- Salvage --------------------------------------------------------------------------------

class Conn {
 public:
  Conn() = default;
  ~Conn() { sqlite3_close_v2(db_); }
  Conn(const Conn&) = delete;
  Conn& operator=(const Conn&) = delete;
  sqlite3* get() const { return db_; }
  // Opens an in-memory database over a copy of bytes.
  bool load(const std::vector<unsigned char>& bytes) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
      return false;
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size()));
    if (!copy) return false;
    std::memcpy(copy, bytes.data(), bytes.size());
    return sqlite3_deserialize(db_, "main", copy, static_cast<sqlite3_int64>(bytes.size()),
                               static_cast<sqlite3_int64>(bytes.size()),
                               SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) ==
           SQLITE_OK;
  }

 private:
  sqlite3* db_ = nullptr;
};

bool tablesReadable(sqlite3* db) {
  int rc = SQLITE_OK;
  queryText(db, "SELECT count(*) FROM keys WHERE id=1 OR parent=1", &rc);
  if (rc == SQLITE_OK) queryText(db, "SELECT count(*) FROM vals WHERE key=1", &rc);
  return rc == SQLITE_OK;
}

// Puts our table definitions back over damaged schema text, then loads the result afresh.
bool restoreSchema(Conn& conn) {
  const std::string sql =
      std::string("PRAGMA writable_schema=ON;") + "UPDATE sqlite_master SET sql='" + kKeysTable +
      "' WHERE type='table' AND name='keys';" + "UPDATE sqlite_master SET sql='" + kValsTable +
      "' WHERE type='table' AND name='vals';" + "PRAGMA writable_schema=OFF;";
  if (sqlite3_exec(conn.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return false;
  sqlite3_int64 size = 0;
  unsigned char* image = sqlite3_serialize(conn.get(), "main", &size, 0);
  if (!image) return false;
  std::vector<unsigned char> bytes(image, image + size);
  sqlite3_free(image);
  return conn.load(bytes) && tablesReadable(conn.get());
}

// Copies the tree below the root, breadth first, each key once and no deeper than the store
// allows; a row that cannot be read ends only the query it was in.
int copyTree(sqlite3* from, sqlite3* to) {
  int copied = 0;
  std::set<int64_t> seen{kRootKeyId};
  std::vector<std::pair<int64_t, int64_t>> level{{kRootKeyId, kRootKeyId}};  // old id, new id
  for (int depth = 0; depth <= kMaxKeyDepth && !level.empty(); ++depth) {
    std::vector<std::pair<int64_t, int64_t>> next;
    for (const auto& [oldId, newId] : level) {
      sqlite3_stmt* vals = nullptr;
      sqlite3_stmt* put = nullptr;
      sqlite3_prepare_v2(from, "SELECT name, type, data FROM vals WHERE key=?1 ORDER BY rowid", -1,
                         &vals, nullptr);
      sqlite3_prepare_v2(
          to, "INSERT OR IGNORE INTO vals(key, name, type, data) VALUES (?1, ?2, ?3, ?4)", -1, &put,
          nullptr);
      sqlite3_bind_int64(vals, 1, oldId);
      while (vals && put && sqlite3_step(vals) == SQLITE_ROW) {
        const void* data = sqlite3_column_blob(vals, 2);
        const int size = sqlite3_column_bytes(vals, 2);
        sqlite3_bind_int64(put, 1, newId);
        sqlite3_bind_value(put, 2, sqlite3_column_value(vals, 0));
        sqlite3_bind_int64(put, 3, sqlite3_column_int64(vals, 1));
        if (size > 0)
          sqlite3_bind_blob(put, 4, data, size, SQLITE_TRANSIENT);
        else
          sqlite3_bind_zeroblob(put, 4, 0);
        if (sqlite3_step(put) == SQLITE_DONE && sqlite3_changes(to) > 0) ++copied;
        sqlite3_reset(put);
      }
      sqlite3_finalize(vals);
      sqlite3_finalize(put);
      if (depth == kMaxKeyDepth) continue;

      sqlite3_stmt* kids = nullptr;
      sqlite3_stmt* add = nullptr;
      sqlite3_stmt* find = nullptr;
      sqlite3_prepare_v2(from, "SELECT id, name, class FROM keys WHERE parent=?1", -1, &kids,
                         nullptr);
      sqlite3_prepare_v2(to, "INSERT OR IGNORE INTO keys(parent, name, class) VALUES (?1, ?2, ?3)",
                         -1, &add, nullptr);
      sqlite3_prepare_v2(to, "SELECT id FROM keys WHERE parent=?1 AND name=?2", -1, &find, nullptr);
      sqlite3_bind_int64(kids, 1, oldId);
      while (kids && add && find && sqlite3_step(kids) == SQLITE_ROW) {
        const int64_t kid = sqlite3_column_int64(kids, 0);
        if (sqlite3_column_type(kids, 1) != SQLITE_TEXT || !seen.insert(kid).second) continue;
        sqlite3_bind_int64(add, 1, newId);
        sqlite3_bind_value(add, 2, sqlite3_column_value(kids, 1));
        if (sqlite3_column_type(kids, 2) == SQLITE_TEXT)
          sqlite3_bind_value(add, 3, sqlite3_column_value(kids, 2));
        else
          sqlite3_bind_text(add, 3, "", 0, SQLITE_STATIC);
        sqlite3_step(add);
        sqlite3_reset(add);
        sqlite3_bind_int64(find, 1, newId);
        sqlite3_bind_value(find, 2, sqlite3_column_value(kids, 1));
        if (sqlite3_step(find) == SQLITE_ROW) next.emplace_back(kid, sqlite3_column_int64(find, 0));
        sqlite3_reset(find);
      }
      sqlite3_finalize(kids);
      sqlite3_finalize(add);
      sqlite3_finalize(find);
    }
    level = std::move(next);
  }
  return copied;
}

}  // namespace

bool isDamageCode(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_NOMEM:
    case SQLITE_READONLY:
    case SQLITE_INTERRUPT:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_PROTOCOL:
      return false;
    default:  // not a database, corrupt, an unknown format, schema text that does not parse, ...
      return true;
  }
}

Check checkOrCreate(sqlite3* db, bool createTables, std::string* why) {
  int rc = SQLITE_OK;
  // Reading the file also rolls back a save a crash left half done. The full check also compares
  // every index with its table (the quick one does not), and the store is small enough for it.
  const std::string check = queryText(db, "PRAGMA integrity_check", &rc);
  if (rc != SQLITE_OK) return failure(db, rc, why);
  if (check != "ok") {
    *why = "its integrity check failed (" + check + ")";
    return Check::Damaged;
  }
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  Mark mark;
  rc = readMark(db, &mark);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return failure(db, rc, why);

  if (mark.empty()) {
    if (createTables) {
      const Check made = create(db, why);
      if (made != Check::Ours) return made;
    } else {
      *why = "it holds no settings";
      return Check::Damaged;
    }
  } else if (mark.appId != std::to_string(kApplicationId) ||
             mark.version != std::to_string(kSchemaVersion)) {
    *why = "it is not a settings file of this game";
    return Check::Damaged;
  }
  return checkTables(db, why);
}

int salvage(const std::string& path, sqlite3* fresh) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (bytes.size() < 100 || std::memcmp(bytes.data(), "SQLite format 3", 16) != 0) return 0;
  // Header fields a one-byte slip makes unreadable, put back to values every SQLite reads: the
  // write and read versions (1 or 2) and the schema format (1 to 4, big-endian at 44).
  for (std::size_t at : {std::size_t{18}, std::size_t{19}})
    if (bytes[at] < 1 || bytes[at] > 2) bytes[at] = 1;
  const uint32_t format = (uint32_t{bytes[44]} << 24) | (uint32_t{bytes[45]} << 16) |
                          (uint32_t{bytes[46]} << 8) | bytes[47];
  if (format < 1 || format > 4) {
    bytes[44] = bytes[45] = bytes[46] = 0;
    bytes[47] = 4;
  }
  Conn old;
  if (!old.load(bytes)) return 0;
  if (!tablesReadable(old.get()) && !restoreSchema(old)) return 0;
  if (sqlite3_exec(fresh, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return 0;
  const int copied = copyTree(old.get(), fresh);
  if (sqlite3_exec(fresh, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_exec(fresh, "ROLLBACK", nullptr, nullptr, nullptr);
    return 0;
  }
  return copied;
}

}  // namespace qlx::regschema
