// The wave files in the program folder: well-formed 16-bit mono PCM, short effects that start and
// end quietly without clipping, two seconds of applause, and exactly what the synthesiser makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sounds.h"
#include "wav_file.h"

namespace {

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t le(const std::vector<uint8_t>& b, std::size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
  return v;
}

std::string tag(const std::vector<uint8_t>& b, std::size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}

// A WAVE file read the way a player reads it: walk the chunks, take "fmt " and "data".
struct Wave {
  std::string problem;  // empty when the file is well formed
  uint32_t riffSize = 0, format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
  std::vector<int16_t> samples;
  double seconds() const { return rate ? static_cast<double>(samples.size()) / rate : 0; }
  int peak() const {
    int p = 0;
    for (int16_t s : samples) p = std::max(p, std::abs(static_cast<int>(s)));
    return p;
  }
  double rms(double from, double to) const {
    const auto a = static_cast<std::size_t>(from * rate),
               z = std::min(samples.size(), static_cast<std::size_t>(to * rate));
    double sum = 0;
    for (std::size_t i = a; i < z; ++i) sum += double(samples[i]) * samples[i];
    return z > a ? std::sqrt(sum / double(z - a)) : 0;
  }
};

Wave readWave(const std::vector<uint8_t>& b) {
  Wave w;
  if (b.size() < 12 || tag(b, 0) != "RIFF" || tag(b, 8) != "WAVE")
    return w.problem = "no RIFF/WAVE header", w;
  w.riffSize = le(b, 4, 4);
  bool haveFormat = false, haveData = false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string id = tag(b, at);
    const uint32_t size = le(b, at + 4, 4);
    if (at + 8 + size > b.size()) return w.problem = "chunk " + id + " runs past the end", w;
    if (id == "fmt ") {
      haveFormat = size >= 16;
      w.format = le(b, at + 8, 2), w.channels = le(b, at + 10, 2), w.rate = le(b, at + 12, 4);
      w.byteRate = le(b, at + 16, 4), w.blockAlign = le(b, at + 20, 2), w.bits = le(b, at + 22, 2);
    } else if (id == "data") {
      haveData = true;
      for (uint32_t i = 0; i + 1 < size; i += 2)
        w.samples.push_back(static_cast<int16_t>(le(b, at + 8 + i, 2)));
    }
    at += 8 + size + (size & 1);
  }
  if (!haveFormat || !haveData) w.problem = "missing fmt or data chunk";
  return w;
}

const std::string kFolder = std::string(QLX_BIN_DIR) + "/";

TEST(ShippedSounds, AreSixteenBitMonoPcmAndEffectsAreShortUnclippedAndFadeInAndOut) {
  for (const std::string name :
       {"CLICK.wav", "UNCLICK.wav", "BEEP.wav", "BEEPS.wav", "RIGHT.wav", "CLAP.wav"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> bytes = readBytes(kFolder + name);
    ASSERT_FALSE(bytes.empty()) << "missing from the program folder";
    const Wave w = readWave(bytes);
    ASSERT_EQ(w.problem, "");
    EXPECT_EQ(w.riffSize, bytes.size() - 8);
    EXPECT_EQ(w.format, 1u);
    EXPECT_EQ(w.channels, 1u);
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
    EXPECT_EQ(w.bits, 16u);
    EXPECT_EQ(w.blockAlign, 2u);
    EXPECT_EQ(w.byteRate, w.rate * 2);
    if (name == "CLAP.wav") continue;
    ASSERT_FALSE(w.samples.empty());
    EXPECT_GT(w.seconds(), 0.005);
    EXPECT_LT(w.seconds(), 1.0);
    // Audible, yet well clear of full scale; a jump from or to silence would be heard as a pop.
    EXPECT_GT(w.peak(), 32767 / 20);
    EXPECT_LT(w.peak(), 32767 * 9 / 10);
    EXPECT_LT(std::abs(w.samples.front()), 330);
    EXPECT_LT(std::abs(w.samples.back()), 330);
  }
}

TEST(ShippedSounds, ApplauseLastsAboutTwoSecondsSwellsAndFades) {
  const Wave w = readWave(readBytes(kFolder + "CLAP.wav"));
  ASSERT_EQ(w.problem, "");
  EXPECT_GT(w.seconds(), 1.8);
  EXPECT_LT(w.seconds(), 2.5);
  EXPECT_LT(w.peak(), 32767 * 95 / 100);
  const double middle = w.rms(0.5, 1.2);
  EXPECT_GT(middle, 1000.0) << "the applause is nearly silent";
  EXPECT_LT(w.rms(0.0, 0.1), middle);
  EXPECT_LT(w.rms(w.seconds() - 0.2, w.seconds()), middle / 4);
  // Applause is not one tone: the middle of it has no silent stretch of a tenth of a second.
  for (double t = 0.3; t < 1.2; t += 0.1)
    EXPECT_GT(w.rms(t, t + 0.1), middle / 5) << "at " << t << " s";
}

TEST(ShippedSounds, AreExactlyWhatTheSynthesiserMakes) {
  // The applause is random but seeded: every build ships the same files.
  for (const qlx::waves::Sound& sound : qlx::waves::makeSounds()) {
    SCOPED_TRACE(sound.file);
    EXPECT_EQ(readBytes(kFolder + sound.file),
              qlx::waves::encodeWav(sound.samples, qlx::waves::kSampleRate));
  }
}

TEST(WaveEncoder, ClipsOutOfRangeSamplesInsteadOfWrappingThem) {
  const Wave w = readWave(qlx::waves::encodeWav({1.5f, -1.5f, 0.5f, 0.0f}, 22050));
  ASSERT_EQ(w.problem, "");
  ASSERT_EQ(w.samples.size(), 4u);
  EXPECT_EQ(w.samples[0], 32767);
  EXPECT_EQ(w.samples[1], -32767);
  EXPECT_EQ(w.samples[2], 16384);
  EXPECT_EQ(w.samples[3], 0);
}

}  // namespace
