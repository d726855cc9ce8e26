// Deflate with the fixed Huffman codes (RFC 1951, block type 1) and a hash-chain match finder.
#include "zlib_stream.h"

#include <algorithm>
#include <array>

namespace qlx::snapshot {
namespace {

constexpr int kWindow = 32768;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kChainDepth = 16;  // candidates tried per position: enough for flat images
constexpr int kHashBits = 15;

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Deflate packs bits from the least significant end; Huffman codes go most significant bit first.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void bits(uint32_t value, int count) {
    acc_ |= value << used_;
    used_ += count;
    while (used_ >= 8) {
      out_.push_back(static_cast<uint8_t>(acc_));
      acc_ >>= 8;
      used_ -= 8;
    }
  }
  void code(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
    bits(reversed, length);
  }
  void flush() {
    if (used_ > 0) out_.push_back(static_cast<uint8_t>(acc_));
    acc_ = 0;
    used_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint32_t acc_ = 0;
  int used_ = 0;
};

// A literal/length symbol 0..287 in the fixed code.
void symbol(BitWriter& w, int sym) {
  if (sym <= 143)
    w.code(0x30 + sym, 8);
  else if (sym <= 255)
    w.code(0x190 + (sym - 144), 9);
  else if (sym <= 279)
    w.code(sym - 256, 7);
  else
    w.code(0xC0 + (sym - 280), 8);
}

void match(BitWriter& w, int length, int distance) {
  int li = static_cast<int>(kLengthBase.size()) - 1;
  while (kLengthBase[li] > length) --li;
  symbol(w, 257 + li);
  w.bits(static_cast<uint32_t>(length - kLengthBase[li]), kLengthExtra[li]);
  int di = static_cast<int>(kDistBase.size()) - 1;
  while (kDistBase[di] > distance) --di;
  w.code(static_cast<uint32_t>(di), 5);
  w.bits(static_cast<uint32_t>(distance - kDistBase[di]), kDistExtra[di]);
}

uint32_t hash3(const uint8_t* p) {
  const uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
  return (v * 2654435761u) >> (32 - kHashBits);
}

uint32_t adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

}  // namespace

std::vector<uint8_t> zlibCompress(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out = {0x78, 0x01};  // deflate, 32K window, no dictionary
  BitWriter w(out);
  w.bits(1, 1);  // the final block
  w.bits(1, 2);  // fixed codes

  const int n = static_cast<int>(data.size());
  std::vector<int> head(1u << kHashBits, -1);
  std::vector<int> prev(data.size(), -1);
  auto insert = [&](int pos) {
    if (pos + kMinMatch > n) return;
    const uint32_t h = hash3(&data[pos]);
    prev[pos] = head[h];
    head[h] = pos;
  };

  int pos = 0;
  while (pos < n) {
    int bestLength = 0, bestDistance = 0;
    if (pos + kMinMatch <= n) {
      const int limit = std::min(kMaxMatch, n - pos);
      int candidate = head[hash3(&data[pos])];
      for (int tries = 0; candidate >= 0 && pos - candidate <= kWindow && tries < kChainDepth;
           ++tries) {
        int length = 0;
        while (length < limit && data[candidate + length] == data[pos + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestDistance = pos - candidate;
          if (length == limit) break;
        }
        candidate = prev[candidate];
      }
    }
    if (bestLength >= kMinMatch) {
      match(w, bestLength, bestDistance);
      for (int i = 0; i < bestLength; ++i) insert(pos + i);
      pos += bestLength;
    } else {
      symbol(w, data[pos]);
      insert(pos);
      ++pos;
    }
  }
  symbol(w, 256);  // end of block
  w.flush();

  const uint32_t check = adler32(data);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(check >> shift));
  return out;
}

}  // namespace qlx::snapshot
