// The sound-effect building blocks: envelope, tone, filtered noise, mixer.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qlx::waves {

namespace {
constexpr double kPi = std::numbers::pi;
}

int sampleCount(double seconds) { return static_cast<int>(std::lround(seconds * kSampleRate)); }

double Envelope::at(double t, double length) const {
  double level = 1.0;
  if (attack > 0 && t < attack) level *= 0.5 - 0.5 * std::cos(kPi * t / attack);
  if (decay > 0 && t > attack) level *= std::exp(-(t - attack) / decay);
  const double left = length - t;
  if (release > 0 && left < release)
    level *= left <= 0 ? 0.0 : 0.5 - 0.5 * std::cos(kPi * left / release);
  return level;
}

Samples tone(double hz, double seconds, const Envelope& env,
             std::initializer_list<double> overtones) {
  Samples out(static_cast<std::size_t>(sampleCount(seconds)));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    double v = std::sin(2 * kPi * hz * t);
    int harmonic = 2;
    for (double amplitude : overtones) v += amplitude * std::sin(2 * kPi * hz * harmonic++ * t);
    out[i] = static_cast<float>(v * env.at(t, seconds));
  }
  return out;
}

double Noise::uniform() {
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  // The top 53 bits of the scrambled state as a fraction.
  return static_cast<double>((state_ * 0x2545F4914F6CDD1DULL) >> 11) * 0x1.0p-53;
}

Samples noiseBurst(Noise& noise, double seconds, double centreHz, double q, const Envelope& env) {
  // A biquad band-pass with 0 dB gain at the centre.
  const double w0 = 2 * kPi * centreHz / kSampleRate;
  const double alpha = std::sin(w0) / (2 * q);
  const double a0 = 1 + alpha;
  const double b0 = alpha / a0, b2 = -alpha / a0;
  const double a1 = -2 * std::cos(w0) / a0, a2 = (1 - alpha) / a0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

  Samples out(static_cast<std::size_t>(sampleCount(seconds)));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double x = noise.white();
    const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    out[i] = static_cast<float>(y * env.at(static_cast<double>(i) / kSampleRate, seconds));
  }
  return out;
}

void mixInto(Samples& mix, const Samples& sound, double atSeconds, double gain) {
  const std::size_t start = static_cast<std::size_t>(std::max(0, sampleCount(atSeconds)));
  if (mix.size() < start + sound.size()) mix.resize(start + sound.size(), 0.0f);
  for (std::size_t i = 0; i < sound.size(); ++i)
    mix[start + i] += static_cast<float>(sound[i] * gain);
}

void normalise(Samples& samples, double peak) {
  float loudest = 0;
  for (float v : samples) loudest = std::max(loudest, std::abs(v));
  if (loudest == 0) return;
  const double scale = peak / loudest;
  for (float& v : samples) v = static_cast<float>(v * scale);
}

}  // namespace qlx::waves
