// Fuzzes the stored game's snapshot decoder; a snapshot it accepts must come back unchanged
// through encoding and decoding again.
#include "fuzz_support.h"
#include "puzzle/snapshot.h"

using namespace qlx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Puzzle first;
  if (!decodeSnapshot(data, size, first)) return 0;
  const std::vector<uint8_t> bytes = encodeSnapshot(first);
  Puzzle second;
  if (Status s = decodeSnapshot(bytes.data(), bytes.size(), second); !s)
    fuzz::fail("a decoded snapshot, encoded again, is refused: " + s.message());
  if (!(first == second)) fuzz::fail("a snapshot decodes to another puzzle after encoding");
  return 0;
}
