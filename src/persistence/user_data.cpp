// The solving record's 22-byte stored form.
#include "persistence/user_data.h"

#include "persistence/le_bytes.h"

namespace qlx {

SolvingData::Bytes SolvingData::toBytes() const {
  Bytes b{};
  le::put32(&b[0], static_cast<uint32_t>(puzzleNum));
  le::put32(&b[4], static_cast<uint32_t>(carried4));
  le::put16(&b[8], static_cast<uint16_t>(carried8));
  le::put16(&b[10], static_cast<uint16_t>(modeNum));
  le::put16(&b[12], static_cast<uint16_t>(gridGroup));
  le::put16(&b[14], reserved);
  le::put32(&b[16], static_cast<uint32_t>(counterA));
  le::put16(&b[20], static_cast<uint16_t>(counterB));  // the high half is not stored
  return b;
}

void SolvingData::fromBytes(const Bytes& b) {
  puzzleNum = static_cast<int32_t>(le::get32(&b[0]));
  carried4 = static_cast<int32_t>(le::get32(&b[4]));
  carried8 = static_cast<int16_t>(le::get16(&b[8]));
  modeNum = static_cast<int16_t>(le::get16(&b[10]));
  gridGroup = static_cast<int16_t>(le::get16(&b[12]));
  reserved = le::get16(&b[14]);
  counterA = static_cast<int32_t>(le::get32(&b[16]));
  const uint32_t high = static_cast<uint32_t>(counterB) & 0xFFFF0000u;
  counterB = static_cast<int32_t>(high | le::get16(&b[20]));
}

}  // namespace qlx
