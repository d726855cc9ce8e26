// The sound effects: soft ticks, beeps, a rising chime and two seconds of applause. Levels stay
// well below full scale so nothing is harsh.
#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace qlx::waves {

namespace {

// A tick: a very short decaying tone with a breath of noise for the attack.
Samples tick(double hz, double decay, double noiseLevel, uint64_t seed) {
  const double length = decay * 8;
  const Envelope env{.attack = 0.0004, .decay = decay, .release = decay * 2};
  Samples s = tone(hz, length, env, {0.25});
  Noise noise(seed);
  mixInto(s, noiseBurst(noise, length, hz * 1.6, 1.5, env), 0.0, noiseLevel);
  return s;
}

Samples beep(double seconds) {
  return tone(880.0, seconds, {.attack = 0.012, .decay = 0.0, .release = seconds / 3},
              {0.12, 0.04});
}

// A struck chime note: bright at once, then ringing away.
Samples chimeNote(double hz, double seconds) {
  return tone(hz, seconds, {.attack = 0.003, .decay = 0.16, .release = 0.06}, {0.3, 0.08});
}

// Overall loudness of the applause: swells over the first third of a second, holds, then fades
// out over the last 0.8 seconds.
double applauseSwell(double t, double length) {
  const double swell = std::min(1.0, 0.25 + 0.75 * t / 0.35);
  const double fade = std::clamp((length - t) / 0.8, 0.0, 1.0);
  return swell * fade * fade;
}

// Many people clapping at their own pace and pitch; every clap is a short band-passed burst.
Samples applause() {
  constexpr double kLength = 2.0;
  constexpr int kClappers = 24;
  Noise noise(20240601);
  Samples mix(static_cast<std::size_t>(sampleCount(kLength)), 0.0f);
  for (int c = 0; c < kClappers; ++c) {
    const double interval = 1.0 / noise.between(3.2, 5.0);  // claps per second
    const double pitch = noise.between(900.0, 2400.0);      // the shape of this person's hands
    const double loudness = noise.between(0.45, 1.0);
    for (double t = noise.between(0.0, 0.3); t < kLength - 0.05; t += interval) {
      const double at = t + noise.between(-0.015, 0.015);
      if (at < 0) continue;
      const double decay = noise.between(0.006, 0.014);
      Samples clap = noiseBurst(noise, 0.06, pitch * noise.between(0.9, 1.1), 1.3,
                                {.attack = 0.0008, .decay = decay, .release = 0.01});
      mixInto(mix, clap, at, loudness * applauseSwell(at, kLength));
    }
  }
  mix.resize(static_cast<std::size_t>(sampleCount(kLength)));
  // The very end fades to silence whatever the last claps did.
  const Envelope edges{.attack = 0.002, .decay = 0.0, .release = 0.05};
  for (std::size_t i = 0; i < mix.size(); ++i)
    mix[i] = static_cast<float>(mix[i] * edges.at(static_cast<double>(i) / kSampleRate, kLength));
  return mix;
}

}  // namespace

std::vector<Sound> makeSounds() {
  std::vector<Sound> sounds;

  Samples click = tick(2200.0, 0.0025, 0.5, 11);
  normalise(click, 0.45);
  sounds.push_back({"CLICK.wav", std::move(click)});

  Samples unclick = tick(1300.0, 0.003, 0.3, 12);
  normalise(unclick, 0.3);
  sounds.push_back({"UNCLICK.wav", std::move(unclick)});

  Samples single = beep(0.15);
  normalise(single, 0.4);
  sounds.push_back({"BEEP.wav", std::move(single)});

  Samples beeps;
  for (int i = 0; i < 3; ++i) mixInto(beeps, beep(0.07), i * 0.11);
  normalise(beeps, 0.4);
  sounds.push_back({"BEEPS.wav", std::move(beeps)});

  // G5 then C6: a rising fourth.
  Samples right = chimeNote(783.99, 0.5);
  mixInto(right, chimeNote(1046.5, 0.5), 0.12);
  normalise(right, 0.5);
  sounds.push_back({"RIGHT.wav", std::move(right)});

  Samples clap = applause();
  normalise(clap, 0.7);
  sounds.push_back({"CLAP.wav", std::move(clap)});
  return sounds;
}

}  // namespace qlx::waves
