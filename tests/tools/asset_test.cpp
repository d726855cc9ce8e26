// The shipped assets in the program folder: wave files that are the encoder's exact bytes, short
// effects that start and end quietly without clipping and two seconds of applause; the picture
// sheet and the window icon, readable BMPs of the right size painted in the game's palette; and
// the help page, copied whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "sounds.h"
#include "temp_folder.h"
#include "wav_file.h"

namespace {

const std::string kFolder = std::string(QLX_BIN_DIR) + "/";
using qlx::waves::kSampleRate;

double rms(const qlx::waves::Samples& s, double from, double to) {
  const auto a = static_cast<std::size_t>(from * kSampleRate),
             z = std::min(s.size(), static_cast<std::size_t>(to * kSampleRate));
  double sum = 0;
  for (std::size_t i = a; i < z; ++i) sum += double(s[i]) * s[i];
  return z > a ? std::sqrt(sum / double(z - a)) : 0;
}

TEST(WaveEncoder, WritesA16BitMonoPcmHeaderAndClipsInsteadOfWrapping) {
  // RIFF, the 16-byte PCM format block (mono, 22050 Hz, 2-byte frames) and the data chunk.
  const std::string expected(
      "RIFF\054\0\0\0WAVEfmt \020\0\0\0\1\0\1\0\042V\0\0D\254\0\0\2\0\020\0"
      "data\010\0\0\0\377\177\001\200\000@\0\0",
      52);
  const auto bytes = qlx::waves::encodeWav({1.5f, -1.5f, 0.5f, 0.0f}, 22050);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

TEST(ShippedSounds, AreTheSynthesisersEffectsShortAndCleanAndApplauseSwellsAndFades) {
  std::vector<std::string> names;
  for (const qlx::waves::Sound& sound : qlx::waves::makeSounds()) {
    SCOPED_TRACE(sound.file);
    names.push_back(sound.file);
    // The applause is random but seeded: every build ships the same files.
    const auto bytes = qlx::waves::encodeWav(sound.samples, kSampleRate);
    EXPECT_EQ(qlx::testing::readText(kFolder + sound.file),
              std::string(bytes.begin(), bytes.end()));
    const auto& s = sound.samples;
    ASSERT_FALSE(s.empty());
    const double seconds = double(s.size()) / kSampleRate;
    float peak = 0;
    for (float v : s) peak = std::max(peak, std::abs(v));
    if (sound.file != "CLAP.wav") {
      EXPECT_TRUE(seconds > 0.005 && seconds < 1.0) << seconds;
      // Audible, yet well clear of full scale; a jump from or to silence would be heard as a pop.
      EXPECT_TRUE(peak > 0.05f && peak < 0.9f) << peak;
      EXPECT_LT(std::max(std::abs(s.front()), std::abs(s.back())), 0.01f);
      continue;
    }
    EXPECT_TRUE(seconds > 1.8 && seconds < 2.5) << seconds;
    EXPECT_LT(peak, 0.95f);
    const double middle = rms(s, 0.5, 1.2);
    EXPECT_GT(middle, 0.03) << "the applause is nearly silent";
    EXPECT_LT(rms(s, 0.0, 0.1), middle);
    EXPECT_LT(rms(s, seconds - 0.2, seconds), middle / 4);
    // Applause is not one tone: the middle of it has no silent stretch of a tenth of a second.
    for (double t = 0.3; t < 1.2; t += 0.1)
      EXPECT_GT(rms(s, t, t + 0.1), middle / 5) << "at " << t << " s";
  }
  EXPECT_EQ(names, (std::vector<std::string>{"CLICK.wav", "UNCLICK.wav", "BEEP.wav", "BEEPS.wav",
                                             "RIGHT.wav", "CLAP.wav"}));
}

using qlx::Bitmap;
using qlx::ColorRef;
using qlx::rgb;

constexpr ColorRef kBackground = rgb(100, 100, 66), kPanel = rgb(50, 50, 45),
                   kCell = rgb(224, 224, 255), kSelected = rgb(250, 255, 200),
                   kBlock = rgb(50, 50, 50), kHoverText = rgb(200, 200, 80);

TEST(Pictures, SheetHasTheTitleInThePaletteLetteredLargeAcrossTheTopAndTheIconIsSquare) {
  Bitmap sheet, icon;  // and the window icon
  ASSERT_TRUE(qlx::loadBmp(kFolder + "ALLPICDATA.BMP", &sheet).ok());
  ASSERT_TRUE(sheet.width >= 249 && sheet.height >= 100) << sheet.width << "x" << sheet.height;
  std::map<ColorRef, int> counts;
  int left = 249, right = -1, top = 100, bottom = -1;  // where the title colour lies
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 249; ++x) {
      const ColorRef c = sheet.at(x, y);
      ++counts[c];
      // The picture sits on the menu background: its outer ring is that colour.
      const bool edge = x == 0 || y == 0 || x == 248 || y == 99;
      EXPECT_TRUE(!edge || c == kBackground) << x << "," << y;
      if (c == kHoverText)
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
        bottom = std::max(bottom, y);
    }
  // The board's colours are all there, the panel most of all.
  for (ColorRef c : {kPanel, kCell, kSelected, kBlock, kHoverText})
    EXPECT_GT(counts[c], 40) << std::hex << c;
  for (const auto& [colour, n] : counts) EXPECT_LE(n, counts[kPanel]) << std::hex << colour;
  EXPECT_GT(counts[kHoverText], 300) << "no solid lettering in the title colour";
  EXPECT_GT(right - left, 249 / 2) << "the name spans less than half the width";
  EXPECT_GT(bottom - top, 18) << "the letters are small";
  EXPECT_TRUE(top < 30 && bottom < 60) << "the name is not in the upper part";
  EXPECT_LT(std::abs((left + right) / 2 - 124), 8) << "the name is not centred";

  ASSERT_TRUE(qlx::loadBmp(kFolder + "QUILICON.BMP", &icon).ok());
  EXPECT_TRUE(icon.width == icon.height && (icon.width == 32 || icon.width == 64))
      << icon.width << "x" << icon.height;
  std::set<ColorRef> colours;
  for (int y = 0; y < icon.height; ++y)
    for (int x = 0; x < icon.width; ++x) colours.insert(icon.at(x, y));
  EXPECT_TRUE(colours.count(kSelected) && colours.count(kBackground));
  EXPECT_GE(colours.size(), 4u) << "a flat icon";
}

TEST(HelpPage, IsCopiedWhole) {
  const std::string shipped = qlx::testing::readText(kFolder + "QUILHLP.HTM");
  ASSERT_FALSE(shipped.empty()) << "missing from the program folder";
  EXPECT_EQ(shipped,
            qlx::testing::readText(std::string(QLX_SOURCE_DIR) + "/data/help/QUILHLP.HTM"));
}

}  // namespace
