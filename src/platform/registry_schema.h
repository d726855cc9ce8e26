// The layout of the settings file: two tables, keys (a tree with a class per key) and values
// (typed byte strings), and the checks that tell our file from a damaged or foreign one.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace qlx::regschema {

inline constexpr int64_t kRootKeyId = 1;      // HKEY_CURRENT_USER
inline constexpr int64_t kSoftwareKeyId = 2;  // HKEY_CURRENT_USER\Software

enum class Check {
  Ours,     // a settings file of this game, ready for use
  Damaged,  // not a database, failed its check or belongs to something else: move it aside
  Failed,   // could not be read now (locked, unreadable, read-only): leave it alone
};

// Checks the open file and starts the tables in an empty one. why says what was wrong.
Check checkOrCreate(sqlite3* db, std::string* why);

}  // namespace qlx::regschema
