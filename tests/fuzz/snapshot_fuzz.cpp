// Fuzzes the stored game's snapshot decoder; a snapshot it accepts must come back unchanged
// through encoding and decoding again.
#include "fuzz_support.h"
#include "puzzle/snapshot.h"

using namespace qlx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Puzzle first;
  if (decodeSnapshot(data, size, first)) fuzz::checkSnapshotRoundTrip(first);
  return 0;
}
