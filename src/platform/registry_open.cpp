// Opening the settings file: where it lives, making its folder, and moving a damaged file aside
// (kept under a dated name) so that a fresh store can start without losing the old bytes.
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
  for (int n = 2; fs::exists(name, ec) || fs::exists(name + "-journal", ec); ++n) name = base + "-" + std::to_string(n);
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
  *out = std::make_unique<SqliteRegistry>(nullptr);
  return Status::Error(std::move(message));
}

enum class Outcome { Ready, Damaged, Failed };

// Opens path and checks it; on Ready *db is the open connection.
Outcome tryOpen(const std::string& path, const RegistryOptions& options, sqlite3** db, std::string* why) {
  *db = nullptr;
  sqlite3* conn = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &conn, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    *why = conn ? sqlite3_errmsg(conn) : "out of memory";
    sqlite3_close_v2(conn);
    return (rc & 0xFF) == SQLITE_NOTADB || (rc & 0xFF) == SQLITE_CORRUPT ? Outcome::Damaged : Outcome::Failed;
  }
  sqlite3_busy_timeout(conn, options.busyTimeoutMs);
  sqlite3_extended_result_codes(conn, 0);
  const regschema::Check check = regschema::checkOrCreate(conn, why);
  if (check != regschema::Check::Ours) {
    sqlite3_close_v2(conn);
    return check == regschema::Check::Damaged ? Outcome::Damaged : Outcome::Failed;
  }
  // Each commit reaches the disk before it counts; the rollback journal undoes a save a crash
  // interrupted the next time the file is opened.
  sqlite3_exec(conn, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
  *db = conn;
  return Outcome::Ready;
}

}  // namespace

Status openSqliteRegistry(const std::string& path, const RegistryOptions& options,
                          std::unique_ptr<SqliteRegistry>* out, std::string* notice) {
  if (notice) notice->clear();
  if (path.empty()) return noStore(out, "No settings file was given.");
  if (path != ":memory:") {
    const fs::path folder = fs::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
      fs::create_directories(folder, ec);
      if (ec) return noStore(out, "The settings folder " + folder.string() + " cannot be created: " + ec.message());
    }
  }
  sqlite3* db = nullptr;
  std::string why;
  Outcome outcome = tryOpen(path, options, &db, &why);
  if (outcome == Outcome::Damaged && path != ":memory:") {
    const std::string aside = damagedName(path);
    std::string moveWhy;
    if (!moveAside(path, aside, &moveWhy))
      return noStore(out, "The settings file " + path + " is damaged (" + why +
                              ") and could not be moved aside: " + moveWhy);
    if (notice)
      *notice = "The settings file " + path + " could not be read (" + why + "). It was kept as " + aside +
                " and a fresh settings file was started.";
    outcome = tryOpen(path, options, &db, &why);
  }
  if (outcome != Outcome::Ready) return noStore(out, "The settings file " + path + " cannot be used: " + why);
  *out = std::make_unique<SqliteRegistry>(db);
  return Status::Ok();
}

Status openRegistry(const std::string& path, std::unique_ptr<Registry>* out, std::string* notice) {
  std::unique_ptr<SqliteRegistry> store;
  Status status = openSqliteRegistry(path, RegistryOptions{}, &store, notice);
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
