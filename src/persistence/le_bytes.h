// Little-endian reading and writing of the fixed-width integers the settings store holds, byte
// by byte so the layout never depends on the machine or on how a struct is packed.
#pragma once

#include <cstdint>

namespace qlx::le {

inline void put16(uint8_t* at, uint16_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}
inline void put32(uint8_t* at, uint32_t v) {
  put16(at, static_cast<uint16_t>(v));
  put16(at + 2, static_cast<uint16_t>(v >> 16));
}
inline uint16_t get16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }
inline uint32_t get32(const uint8_t* at) {
  return get16(at) | (static_cast<uint32_t>(get16(at + 2)) << 16);
}

}  // namespace qlx::le
