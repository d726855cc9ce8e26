// A puzzle in play as bytes, so a game left open can be stored and rebuilt exactly: the grid, its
// fill, the letter code, the given numbers, the entries and the selection. The bytes come back
// from a store anyone can edit, so reading checks every size, letter and number before use.
#pragma once

#include <cstdint>
#include <vector>

#include "core/status.h"
#include "puzzle/model.h"

namespace qlx {

inline constexpr uint8_t kSnapshotVersion = 1;

// The snapshot of p; p must be a puzzle newPuzzle made (its sizes are not checked here).
std::vector<uint8_t> encodeSnapshot(const Puzzle& p);

// Rebuilds the puzzle of a snapshot into out, touching out only on success. Fails with a message
// on anything but a complete, consistent snapshot of this version.
Status decodeSnapshot(const uint8_t* bytes, std::size_t size, Puzzle& out);

}  // namespace qlx
