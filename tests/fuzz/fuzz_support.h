// What the fuzz targets share: a scratch folder for readers that take a path, the real word-fill
// library with the game's dictionary, and a settings store filled with values from fuzz input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "persistence/user_data.h"
#include "platform/registry.h"
#include "puzzle/fill_library.h"
#include "puzzle/model.h"

namespace qlx::fuzz {

// Empties this process's scratch folder (made on first use, removed at exit), writes bytes to
// name in it and returns the file's path.
std::string writeScratch(const std::string& name, const uint8_t* data, std::size_t size);

// The word-fill library of the program folder with the game's dictionary, loaded once as start-up
// does, seeded and with a short fill bound so a hard grid costs little.
FillLibrary& gameFiller();

// Stops the process with a message when a property of a target does not hold.
[[noreturn]] void fail(const std::string& what);

// An in-memory settings store holding the values that data describes. Records follow each other:
//   one byte: bits 0-4 pick a value name of the game (31: a name of n bytes follows, n in one
//             byte), bit 5 puts the value under the game's key instead of its SAVE subkey, bits 6-7
//             pick the type (binary, text, dword, none);
//   two bytes, little-endian: the value's length (cut to what is left), then its bytes.
std::unique_ptr<Registry> storeFromFuzz(const uint8_t* data, std::size_t size);

// The player's data as start-up reads them from store, on the headless back end.
UserData loadUser(Registry& store);

// Fails unless p comes back unchanged through the snapshot encoder and decoder.
void checkSnapshotRoundTrip(const Puzzle& p);

}  // namespace qlx::fuzz
