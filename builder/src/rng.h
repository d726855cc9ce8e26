// The library's own random generator (xoshiro256**): fast, seedable, and the same on every
// platform, so a seed reproduces a sequence of fills exactly.
#pragma once

#include <cstdint>

namespace zandrel {

class Rng {
 public:
  explicit Rng(uint64_t seed = 1) { reseed(seed); }

  void reseed(uint64_t seed) {
    // splitmix64 spreads any seed (even 0) over the whole state.
    for (uint64_t& word : s_) {
      seed += 0x9e3779b97f4a7c15ULL;
      uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
      z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
      word = z ^ (z >> 31);
    }
  }

  uint64_t next() {
    const uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
  }

  // Uniform in [0, bound); bound > 0. The multiply-shift bias is far below anything we measure.
  uint32_t below(uint32_t bound) {
    return static_cast<uint32_t>(((next() >> 32) * static_cast<uint64_t>(bound)) >> 32);
  }

 private:
  static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t s_[4];
};

}  // namespace zandrel
