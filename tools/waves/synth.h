// Small building blocks for the game's sound effects on mono float samples in [-1, 1]: an
// envelope, a tone, a band-passed noise burst from a seeded generator, and a mixer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace qlx::waves {

constexpr int kSampleRate = 22050;
using Samples = std::vector<float>;

// Number of samples in `seconds` at kSampleRate, rounded to the nearest.
int sampleCount(double seconds);

// Loudness over time: rises along a half cosine over `attack` seconds, then falls
// exponentially with time constant `decay` (0 holds it), and fades to zero over the last
// `release` seconds so a sound neither starts nor ends with a step.
struct Envelope {
  double attack = 0.005;
  double decay = 0.0;
  double release = 0.01;
  double at(double t, double length) const;
};

// A sine of `hz` lasting `seconds`, with harmonic overtones (the amplitude of the 2nd, 3rd, ...
// harmonic relative to the fundamental), shaped by env.
Samples tone(double hz, double seconds, const Envelope& env,
             std::initializer_list<double> overtones = {});

// A reproducible uniform generator (xorshift64*), so the applause comes out the same on every
// build and every machine.
class Noise {
 public:
  explicit Noise(uint64_t seed) : state_(seed ? seed : 0x9e3779b97f4a7c15ULL) {}
  double uniform();  // [0, 1)
  double between(double lo, double hi) { return lo + (hi - lo) * uniform(); }
  double white() { return between(-1.0, 1.0); }

 private:
  uint64_t state_;
};

// White noise through a band-pass filter around `centreHz` (quality q), shaped by env.
Samples noiseBurst(Noise& noise, double seconds, double centreHz, double q, const Envelope& env);

// Adds sound × gain into mix from `atSeconds` on, lengthening mix where the sound runs past it.
void mixInto(Samples& mix, const Samples& sound, double atSeconds, double gain = 1.0);

// Scales the samples so the loudest has magnitude `peak`; silence stays silent.
void normalise(Samples& samples, double peak);

}  // namespace qlx::waves
