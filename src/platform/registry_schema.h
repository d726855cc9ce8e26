// The layout of the settings file: two tables, keys (a tree with a class per key) and values
// (typed byte strings), the checks that tell our file from a damaged or foreign one, and the
// salvage that carries what can still be read out of a damaged file into a fresh one.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

struct sqlite3;

namespace qlx::regschema {

inline constexpr int64_t kRootKeyId = 1;      // HKEY_CURRENT_USER
inline constexpr int64_t kSoftwareKeyId = 2;  // HKEY_CURRENT_USER\Software

enum class Check {
  Ours,     // a settings file of this game, ready for use
  Damaged,  // not a database, failed its check or belongs to something else: move it aside
  Failed,   // could not be read now (locked, unreadable, out of memory): leave it alone
};

// Checks the open file and, when create is set, starts the tables in an empty one. why says what
// was wrong.
Check checkOrCreate(sqlite3* db, bool create, std::string* why);

// Whether an SQLite result code means a fault of the file itself rather than of the moment
// (another copy holding a lock, no memory, a read-only or full disk).
bool isDamageCode(int rc);

// Copies the keys and values still readable in the damaged file at path into fresh, an empty
// store of ours. Returns how many values were carried over.
int salvage(const std::string& path, sqlite3* fresh);

}  // namespace qlx::regschema
