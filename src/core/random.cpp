// The program-wide generator: a 64-bit Mersenne Twister, 53 random bits per draw.
#include "core/random.h"

#include <chrono>
#include <random>

namespace qlx {
namespace {
std::mt19937_64& generator() {
  static std::mt19937_64 engine(5489u);
  return engine;
}
}  // namespace

void seedRandom(uint64_t seed) { generator().seed(seed); }

uint64_t seedRandomFromClock() {
  const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  const auto seed = static_cast<uint64_t>(now);
  seedRandom(seed);
  return seed;
}

// The top 53 bits scaled by 2^-53: exactly uniform on a 2^-53 lattice and never 1.
double rnd() { return static_cast<double>(generator()() >> 11) * 0x1.0p-53; }

}  // namespace qlx
