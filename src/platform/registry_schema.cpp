// The settings file's tables and the checks run when it is opened. Key and value names use
// SQLite's NOCASE collation, which folds ASCII letters only, as the game's names need.
#include "platform/registry_schema.h"

#include <sqlite3.h>

namespace qlx::regschema {
namespace {

// Marks the file as ours ("QLXR"), so a foreign SQLite file is never taken for a store.
constexpr int kApplicationId = 0x514C5852;
constexpr int kSchemaVersion = 1;

const char* const kCreate =
    "CREATE TABLE keys("
    "  id INTEGER PRIMARY KEY,"
    "  parent INTEGER NOT NULL,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  class TEXT NOT NULL,"
    "  UNIQUE(parent, name));"
    "CREATE TABLE vals("
    "  key INTEGER NOT NULL REFERENCES keys(id),"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  PRIMARY KEY(key, name));"
    "INSERT INTO keys(id, parent, name, class) VALUES (1, 0, 'HKEY_CURRENT_USER', '');"
    "INSERT INTO keys(id, parent, name, class) VALUES (2, 1, 'Software', '');";

bool isDamageCode(int rc) {
  rc &= 0xFF;
  return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT || rc == SQLITE_FORMAT;
}

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

}  // namespace

Check checkOrCreate(sqlite3* db, std::string* why) {
  int rc = SQLITE_OK;
  // Reading the file also rolls back a save a crash left half done.
  const std::string check = queryText(db, "PRAGMA quick_check", &rc);
  if (rc != SQLITE_OK) return failure(db, rc, why);
  if (check != "ok") {
    *why = "its integrity check failed (" + check + ")";
    return Check::Damaged;
  }
  if (sqlite3_db_readonly(db, "main") == 1) {
    *why = "it cannot be written";
    return Check::Failed;
  }
  // The three reads form one snapshot (one read transaction), so a store another copy is
  // creating at this moment is never seen half made and taken for a damaged one.
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  std::string appId = queryText(db, "PRAGMA application_id", &rc);
  std::string version, objects;
  if (rc == SQLITE_OK) version = queryText(db, "PRAGMA user_version", &rc);
  if (rc == SQLITE_OK) objects = queryText(db, "SELECT count(*) FROM sqlite_master", &rc);
  if (rc != SQLITE_OK) {
    const Check c = failure(db, rc, why);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return c;
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);

  if (appId == "0" && objects == "0") {
    // A new file gets its tables under the write lock, and is judged empty again under it: two
    // copies of the game starting at once on a new file must not both try to create them.
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
      return failure(db, sqlite3_errcode(db), why);
    appId = queryText(db, "PRAGMA application_id", &rc);
    if (rc == SQLITE_OK) version = queryText(db, "PRAGMA user_version", &rc);
    if (rc == SQLITE_OK) objects = queryText(db, "SELECT count(*) FROM sqlite_master", &rc);
    if (rc != SQLITE_OK) {
      const Check c = failure(db, rc, why);
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
      return c;
    }
    if (appId == "0" && objects == "0") {
      const std::string create = std::string(kCreate) + "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                 ";PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";COMMIT;";
      char* err = nullptr;
      rc = sqlite3_exec(db, create.c_str(), nullptr, nullptr, &err);
      if (rc != SQLITE_OK) {
        *why = err ? err : sqlite3_errmsg(db);
        sqlite3_free(err);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return isDamageCode(rc) ? Check::Damaged : Check::Failed;
      }
      return Check::Ours;
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);  // another copy made the tables first
  }
  if (appId != std::to_string(kApplicationId) || version != std::to_string(kSchemaVersion)) {
    *why = "it is not a settings file of this game";
    return Check::Damaged;
  }
  // Our mark but the wrong tables, or the two fixed keys missing: damaged all the same.
  const std::string fixedKeys = queryText(
      db,
      "SELECT count(*) FROM keys WHERE (id=1 AND parent=0) OR (id=2 AND parent=1 AND name='Software')",
      &rc);
  if (rc == SQLITE_OK) queryText(db, "SELECT key, name, type, data FROM vals LIMIT 1", &rc);
  if (rc != SQLITE_OK) {
    if ((rc & 0xFF) == SQLITE_ERROR) {
      *why = std::string("its tables are not as expected (") + sqlite3_errmsg(db) + ")";
      return Check::Damaged;
    }
    return failure(db, rc, why);
  }
  if (fixedKeys != "2") {
    *why = "its tables are not as expected (the top keys are missing)";
    return Check::Damaged;
  }
  return Check::Ours;
}

}  // namespace qlx::regschema
