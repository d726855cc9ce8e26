// The binary grid file the game reads (GRIDFILE.GFDB). Numbers are 32-bit signed
// little-endian: the group count, each group's grid count, then every group's record
// offsets (from the start of the file); each record is rows, cols (a byte each) and one
// byte per cell row by row, 1 = white, 0 = block.
#pragma once

#include "core/status.h"
#include "gridkit/pattern.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qlx::gridkit {

using GridGroups = std::vector<std::vector<Pattern>>;

// Refused when a pattern does not fit a record or the file would pass 2 GiB.
Status encodeGridFile(const GridGroups& groups, std::vector<std::uint8_t>* bytes);

// Reads a grid file back; damaged, with the reason, when the bytes are not a sound grid file
// (short, offsets or counts out of range).
Status decodeGridFile(std::span<const std::uint8_t> bytes, GridGroups* groups);

// Writes to a temporary file beside path and renames it over path, so readers see the old
// file or the whole new one and a failure leaves nothing behind.
Status writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

Status readWholeFile(const std::string& path, std::vector<std::uint8_t>* bytes);

}  // namespace qlx::gridkit
