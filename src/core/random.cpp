// The generator: a 64-bit Mersenne Twister, 53 random bits per draw.
#include "core/random.h"

#include <chrono>

namespace qlx {

Random Random::fromClock(uint64_t* seed) {
  const auto now =
      static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  if (seed) *seed = now;
  return Random(now);
}

// The top 53 bits scaled by 2^-53: exactly uniform on a 2^-53 lattice and never 1.
double Random::next() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

}  // namespace qlx
