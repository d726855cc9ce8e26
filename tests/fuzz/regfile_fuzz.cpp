// Fuzzes quillorix-reg's .reg reader with an import into an in-memory store and the export of
// what it holds; an export must import into a fresh store and export again to the same text.
#include "fuzz_support.h"
#include "platform/registry_sqlite.h"
#include "reg_file.h"
#include "reg_transfer.h"

using namespace qlx;

namespace {

std::unique_ptr<SqliteRegistry> freshStore() {
  std::unique_ptr<SqliteRegistry> store;
  if (Status s = openSqliteRegistry(":memory:", RegistryOptions{}, &store, nullptr); !s)
    fuzz::fail(s.message());
  return store;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<regtool::RegFileKey> keys;
  const bool parsed = regtool::parseRegFile(text, &keys).ok();

  std::unique_ptr<SqliteRegistry> store = freshStore();
  if (regtool::importRegText(*store, text).ok() && !parsed)
    fuzz::fail("an import of text that does not parse");
  if (store->openKeyCount() != 0) fuzz::fail("an import left keys open");

  std::string exported;
  if (!regtool::exportGameKey(*store, &exported).ok()) return 0;
  std::unique_ptr<SqliteRegistry> again = freshStore();
  std::string second;
  if (const Status imported = regtool::importRegText(*again, exported); !imported)
    fuzz::fail("an export does not import: " + imported.message());
  if (!regtool::exportGameKey(*again, &second).ok() || second != exported)
    fuzz::fail("an export, imported again, exports differently");
  return 0;
}
