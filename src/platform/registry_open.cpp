// Opening the settings file: where it lives, making its folder, opening a file that cannot be
// written read-only, and moving a damaged file aside (kept under a dated name) so that a fresh
// store can start without losing the old bytes, with what can still be read carried over.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/registry_schema.h"
#include "platform/registry_sqlite.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

std::string damagedName(const std::string& path) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M", &local);
  const std::string base = path + ".damaged-" + stamp;
  std::error_code ec;
  std::string name = base;
  for (int n = 2; fs::exists(name, ec) || fs::exists(name + "-journal", ec); ++n)
    name = base + "-" + std::to_string(n);
  return name;
}

// Renames the file and the journal files SQLite keeps beside it, so that an old journal is never
// played into the fresh store.
bool moveAside(const std::string& path, const std::string& to, std::string* why) {
  std::error_code ec;
  fs::rename(path, to, ec);
  if (ec) {
    *why = ec.message();
    return false;
  }
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    if (fs::exists(path + suffix, ec)) fs::rename(path + suffix, to + suffix, ec);
  }
  return true;
}

Status noStore(std::unique_ptr<SqliteRegistry>* out, std::string message) {
  *out = std::make_unique<SqliteRegistry>(nullptr, RegistryOptions{}, true);
  return Status::Error(std::move(message));
}

enum class Outcome { Ready, Damaged, Failed };

// Opens path and checks it; on Ready *db is the open connection. A read-only open never creates
// tables, and a file left empty counts as not ours.
Outcome tryOpen(const std::string& path, const RegistryOptions& options, bool readOnly,
                sqlite3** db, std::string* why) {
  *db = nullptr;
  sqlite3* conn = nullptr;
  const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const int rc = sqlite3_open_v2(path.c_str(), &conn, flags, nullptr);
  if (rc != SQLITE_OK) {
    *why = conn ? sqlite3_errmsg(conn) : "out of memory";
    sqlite3_close_v2(conn);
    return regschema::isDamageCode(rc) ? Outcome::Damaged : Outcome::Failed;
  }
  sqlite3_busy_timeout(conn, options.busyTimeoutMs);
  sqlite3_extended_result_codes(conn, 0);
  const regschema::Check check = regschema::checkOrCreate(conn, !readOnly, why);
  if (check == regschema::Check::Ours && !readOnly && sqlite3_db_readonly(conn, "main") == 1) {
    // The file and its folder may be written (checked before), so it is the file's own header
    // that forbids writing: a format this game never writes.
    *why = "its format cannot be written";
    sqlite3_close_v2(conn);
    return Outcome::Damaged;
  }
  if (check != regschema::Check::Ours) {
    sqlite3_close_v2(conn);
    return check == regschema::Check::Damaged ? Outcome::Damaged : Outcome::Failed;
  }
  // Each commit reaches the disk before it counts; the rollback journal undoes a save a crash
  // interrupted the next time the file is opened.
  if (!readOnly)
    sqlite3_exec(conn, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;", nullptr, nullptr,
                 nullptr);
  *db = conn;
  return Outcome::Ready;
}

// Whether this process may change the file: the file itself (when it exists) and its folder,
// where SQLite keeps the journal of every save.
bool writable(const std::string& path, std::string* why) {
  const fs::path folder = fs::path(path).parent_path();
  std::error_code ec;
  if (fs::exists(path, ec) && access(path.c_str(), W_OK) != 0) {
    *why = "the file is read-only";
    return false;
  }
  if (access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0) {
    *why = "its folder " + (folder.empty() ? std::string(".") : folder.string()) + " is read-only";
    return false;
  }
  return true;
}

Status openExisting(const std::string& path, const RegistryOptions& options,
                    std::unique_ptr<SqliteRegistry>* out) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return noStore(out, "There is no settings file at " + path + ".");
  sqlite3* db = nullptr;
  std::string why;
  switch (tryOpen(path, options, true, &db, &why)) {
    case Outcome::Ready:
      *out = std::make_unique<SqliteRegistry>(db, options, true);
      return Status::Ok();
    case Outcome::Damaged:
      return noStore(out, "The settings file " + path +
                              " is damaged or not a settings file of this game (" + why + ").");
    case Outcome::Failed:
      break;
  }
  return noStore(out, "The settings file " + path + " cannot be read: " + why);
}

}  // namespace

Status openSqliteRegistry(const std::string& path, const RegistryOptions& options,
                          std::unique_ptr<SqliteRegistry>* out, std::string* notice) {
  if (notice) notice->clear();
  if (path.empty()) return noStore(out, "No settings file was given.");
  if (options.readOnly) return openExisting(path, options, out);
  const bool inMemory = path == ":memory:";
  if (!inMemory) {
    const fs::path folder = fs::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
      fs::create_directories(folder, ec);
      if (ec)
        return noStore(
            out, "The settings folder " + folder.string() + " cannot be created: " + ec.message());
    }
  }
  sqlite3* db = nullptr;
  std::string why;
  if (!inMemory && !writable(path, &why)) {
    // What can be read is still shown; the player is told once that nothing will be kept.
    std::string readWhy;
    if (tryOpen(path, options, true, &db, &readWhy) != Outcome::Ready)
      return noStore(out, "The settings file " + path + " cannot be used: " + why + "; " + readWhy);
    if (notice)
      *notice =
          "The settings file " + path + " cannot be written (" + why +
          "). Your best times and any game you kept are shown, but nothing will be saved until "
          "Quillorix next starts with a settings file it can write.";
    *out = std::make_unique<SqliteRegistry>(db, options, true);
    return Status::Ok();
  }
  Outcome outcome = tryOpen(path, options, false, &db, &why);
  if (outcome == Outcome::Damaged && !inMemory) {
    const std::string aside = damagedName(path);
    const std::string damage = why;
    std::string moveWhy;
    if (!moveAside(path, aside, &moveWhy))
      return noStore(out, "The settings file " + path + " is damaged (" + damage +
                              ") and could not be moved aside: " + moveWhy);
    outcome = tryOpen(path, options, false, &db, &why);
    const int carried = outcome == Outcome::Ready ? regschema::salvage(aside, db) : 0;
    if (notice)
      *notice = "The settings file " + path + " could not be read (" + damage +
                "). It was kept as " + aside + " and a fresh settings file was started" +
                (carried > 0 ? " with what could still be read of the old one." : ".");
  }
  if (outcome != Outcome::Ready)
    return noStore(out, "The settings file " + path + " cannot be used: " + why);
  *out = std::make_unique<SqliteRegistry>(db, options, false);
  return Status::Ok();
}

Status openRegistry(const std::string& path, std::unique_ptr<Registry>* out, std::string* notice) {
  return openRegistry(path, RegistryOptions{}, out, notice);
}

Status openRegistry(const std::string& path, const RegistryOptions& options,
                    std::unique_ptr<Registry>* out, std::string* notice) {
  std::unique_ptr<SqliteRegistry> store;
  Status status = openSqliteRegistry(path, options, &store, notice);
  *out = std::move(store);
  return status;
}

std::string defaultRegistryPath() {
  // Relative values of XDG_DATA_HOME are to be ignored.
  const char* xdg = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && home[0] ? home : ".") + "/.local/share";
  }
  return (fs::path(base) / "quillorix" / "settings.db").string();
}

}  // namespace qlx
