// The game's uniform generator in [0, 1), reproducible from a seed. The program seeds one from
// the clock at start-up and hands it to whatever draws; tests and tools seed their own.
#pragma once

#include <cstdint>
#include <random>

namespace qlx {

class Random {
 public:
  explicit Random(uint64_t seed = 5489u) : engine_(seed) {}
  // A generator seeded from the clock; *seed (when given) says with what.
  static Random fromClock(uint64_t* seed = nullptr);

  void seed(uint64_t seed) { engine_.seed(seed); }
  // The next uniform value u, 0 <= u < 1.
  double next();

 private:
  std::mt19937_64 engine_;  // 64-bit Mersenne Twister, 53 random bits a draw
};

}  // namespace qlx
