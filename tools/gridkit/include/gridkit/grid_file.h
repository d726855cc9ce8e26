// The binary grid file the game reads (GRIDFILE.GFDB). Numbers are 32-bit signed
// little-endian: the group count, each group's grid count, then every group's record
// offsets (from the start of the file); each record is rows, cols (a byte each) and one
// byte per cell row by row, 1 = white, 0 = block.
#pragma once

#include "gridkit/pattern.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qlx::gridkit {

using GridGroups = std::vector<std::vector<Pattern>>;

// Throws std::length_error when a pattern does not fit a record or the file would pass 2 GiB.
std::vector<std::uint8_t> encodeGridFile(const GridGroups& groups);

// Reads a grid file back; nullopt with a reason in *error when the bytes are not a sound
// grid file (short, offsets or counts out of range).
std::optional<GridGroups> decodeGridFile(std::span<const std::uint8_t> bytes, std::string* error);

// Writes to a temporary file beside path and renames it over path, so readers see the old
// file or the whole new one and a failure leaves nothing behind. False with a reason on error.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string* error);

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::string* error);

}  // namespace qlx::gridkit
