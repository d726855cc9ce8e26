// Wave playback through SDL's disk audio driver, which writes what the device plays to a file:
// the sound's samples reach it, a new sound cuts the old one off, "0" and unreadable files stop
// it, and a missing device stays silent.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_sound.h"
#include "temp_folder.h"

namespace qlx {
namespace {

constexpr int kRate = 44100;

void put(std::ofstream& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(char(v >> (8 * i)));
}

// A 16-bit stereo wave at 44.1 kHz (the device's format, so the samples reach the file as
// they are): a square wave of the given amplitude. dataBytes overrides the length the header
// claims.
void writeWave(const std::string& path, int amplitude, double seconds, long dataBytes = -1) {
  const auto frames = static_cast<uint32_t>(seconds * kRate);
  const uint32_t bytes = dataBytes >= 0 ? uint32_t(dataBytes) : frames * 4;
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  put(out, 36 + bytes, 4);
  out << "WAVEfmt ";
  // Chunk size, PCM, channels, rate, bytes a second, bytes a frame, bits a sample.
  for (auto [v, n] :
       {std::pair{16u, 4}, {1u, 2}, {2u, 2}, {kRate * 1u, 4}, {kRate * 4u, 4}, {4u, 2}, {16u, 2}})
    put(out, v, n);
  out << "data";
  put(out, bytes, 4);
  for (uint32_t i = 0; i < frames; ++i)  // the same sample on both channels
    put(out, uint16_t(int16_t((i / 50) % 2 ? amplitude : -amplitude)) * 0x10001u, 4);
}

class SoundTest : public ::testing::Test {
 protected:
  SoundTest() {
    writeWave(wave("long.wav"), 1000, 0.6);
    writeWave(wave("short.wav"), 3000, 0.15);
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", dir_.file("played.raw").c_str(), 1);
  }
  std::string wave(const char* name) const { return dir_.file(name); }

  // Where in the output the samples of the sound of this amplitude lie.
  std::vector<long> heard(int amplitude) const {
    const std::string raw = testing::readText(dir_.file("played.raw"));
    std::vector<long> at;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
      const auto v = static_cast<int16_t>(uint8_t(raw[i]) | uint8_t(raw[i + 1]) << 8);
      if (v == amplitude || v == -amplitude) at.push_back(static_cast<long>(i / 2));
    }
    return at;
  }

  testing::TempFolder dir_;
};

constexpr std::size_t kLongSamples = std::size_t(0.6 * kRate) * 2,
                      kShortSamples = std::size_t(0.15 * kRate) * 2;
constexpr std::size_t kLongBytes = kLongSamples * 2;

// Waits (up to a few seconds) until pred holds.
template <typename Pred>
bool waitFor(Pred pred) {
  for (int i = 0; i < 500 && !pred(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return pred();
}

TEST_F(SoundTest, ASoundPlaysWholeInTheBackgroundAndANewOneCutsTheOldOneOff) {
  {
    SdlSound sound;
    EXPECT_FALSE(sound.deviceOpen()) << "the device opens on the first play";
    sound.play(wave("long.wav"));
    ASSERT_TRUE(sound.deviceOpen());
    EXPECT_GT(sound.pendingBytes(), 0u) << "play returns while the sound is still to come";
    ASSERT_TRUE(waitFor([&] { return sound.pendingBytes() < kLongBytes; }));
    sound.play(wave("short.wav"));
    ASSERT_TRUE(waitFor([&] { return sound.pendingBytes() == 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }  // closing the device flushes the file
  const std::vector<long> first = heard(1000), second = heard(3000);
  ASSERT_FALSE(first.empty());
  EXPECT_LT(first.size(), kLongSamples) << "the first sound was cut short";
  ASSERT_EQ(second.size(), kShortSamples) << "the second sound is played whole";
  EXPECT_LT(first.back(), second.front()) << "nothing of the first sound after the second starts";
}

TEST_F(SoundTest, ZeroAndUnreadableFilesStopTheSoundPlaying) {
  dir_.write("junk.wav", "RIFF\x10\0\0\0WAVEjunk and more junk");
  // A header that promises a second of samples over a file holding a few.
  writeWave(wave("truncated.wav"), 2000, 0.001, kRate * 4);
  SdlSound sound;
  for (const std::string& name : {wave("missing.wav"), wave("junk.wav"), wave("truncated.wav"),
                                  std::string("0"), std::string(), dir_.path()}) {
    sound.play(wave("long.wav"));
    sound.play(name);
    // At most the few samples the truncated file holds.
    EXPECT_LE(sound.pendingBytes(), name == wave("truncated.wav") ? 4u * 44u : 0u) << name;
  }
}

TEST_F(SoundTest, TheDummyDriverAndNoDeviceAtAllAreSilent) {
  for (const std::string driver : {"dummy", "no-such-driver"}) {
    ::setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    SdlSound sound;
    sound.play(wave("long.wav"));
    EXPECT_EQ(sound.deviceOpen(), driver == "dummy");
    sound.play(wave("short.wav"));
    sound.play("0");
    EXPECT_EQ(sound.pendingBytes(), 0u) << driver;
  }
}

}  // namespace
}  // namespace qlx
