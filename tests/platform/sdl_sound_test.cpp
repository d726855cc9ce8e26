// Wave playback through SDL's disk audio driver, which writes what the device plays to a file:
// the sound's samples reach it, a new sound cuts the old one off, "0" stops, and unreadable
// files or a missing device stay silent.
#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_sound.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;

void put16(std::ofstream& out, uint16_t v) { out.put(char(v & 0xff)).put(char(v >> 8)); }
void put32(std::ofstream& out, uint32_t v) {
  put16(out, uint16_t(v & 0xffff)), put16(out, uint16_t(v >> 16));
}

// A 16-bit stereo wave at 44.1 kHz (the device's format, so the samples reach the file as
// they are): a square wave of the given amplitude. dataBytes overrides the length the header
// claims.
void writeWave(const fs::path& path, int amplitude, double seconds, long dataBytes = -1) {
  const auto frames = static_cast<uint32_t>(seconds * kRate);
  const uint32_t bytes = frames * 4;
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  put32(out, 36 + uint32_t(dataBytes >= 0 ? dataBytes : bytes));
  out << "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 2);
  put32(out, kRate);
  put32(out, kRate * 4);
  put16(out, 4);
  put16(out, 16);
  out << "data";
  put32(out, dataBytes >= 0 ? uint32_t(dataBytes) : bytes);
  for (uint32_t i = 0; i < frames; ++i) {
    const auto v =
        static_cast<uint16_t>(static_cast<int16_t>((i / 50) % 2 ? amplitude : -amplitude));
    put16(out, v);
    put16(out, v);
  }
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qlx-sound-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    output_ = dir_ / "played.raw";
    writeWave(dir_ / "long.wav", 1000, 0.6);
    writeWave(dir_ / "short.wav", 3000, 0.15);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void useDiskAudio() {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
  }
  std::string wave(const char* name) const { return (dir_ / name).string(); }

  // Samples of each amplitude in the output, and where each first and last occurs.
  struct Heard {
    long count = 0;
    long first = -1;
    long last = -1;
  };
  Heard heard(int amplitude) const {
    std::ifstream in(output_, std::ios::binary);
    std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Heard h;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
      const auto v =
          static_cast<int16_t>(uint16_t(uint8_t(raw[i])) | uint16_t(uint8_t(raw[i + 1])) << 8);
      if (v != amplitude && v != -amplitude) continue;
      const long at = static_cast<long>(i / 2);
      if (h.first < 0) h.first = at;
      h.last = at;
      ++h.count;
    }
    return h;
  }

  fs::path dir_;
  fs::path output_;
};

constexpr long kLongSamples = long(0.6 * kRate) * 2;
constexpr long kShortSamples = long(0.15 * kRate) * 2;
constexpr std::size_t kLongBytes = kLongSamples * 2;

// Waits (up to a few seconds) until pred holds.
template <typename Pred>
bool waitFor(Pred pred) {
  for (int i = 0; i < 500 && !pred(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return pred();
}

TEST_F(SoundTest, ASoundIsPlayedWholeInTheBackground) {
  useDiskAudio();
  {
    SdlSound sound;
    EXPECT_FALSE(sound.deviceOpen()) << "the device opens on the first play";
    sound.play(wave("short.wav"));
    ASSERT_TRUE(sound.deviceOpen());
    EXPECT_GT(sound.pendingBytes(), 0u) << "play returns while the sound is still to come";
    ASSERT_TRUE(waitFor([&] { return sound.pendingBytes() == 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }  // closing the device flushes the file
  EXPECT_EQ(heard(3000).count, kShortSamples);
}

TEST_F(SoundTest, ANewSoundCutsTheOldOneOff) {
  useDiskAudio();
  {
    SdlSound sound;
    sound.play(wave("long.wav"));
    ASSERT_TRUE(waitFor([&] { return sound.pendingBytes() < kLongBytes; }));
    sound.play(wave("short.wav"));
    ASSERT_TRUE(waitFor([&] { return sound.pendingBytes() == 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  const Heard first = heard(1000);
  const Heard second = heard(3000);
  EXPECT_GT(first.count, 0);
  EXPECT_LT(first.count, kLongSamples) << "the first sound was cut short";
  EXPECT_EQ(second.count, kShortSamples) << "the second sound is played whole";
  EXPECT_LT(first.last, second.first) << "nothing of the first sound after the second starts";
}

TEST_F(SoundTest, ZeroStopsTheSound) {
  useDiskAudio();
  {
    SdlSound sound;
    sound.play(wave("long.wav"));
    ASSERT_TRUE(waitFor([&] { return sound.pendingBytes() < kLongBytes; }));
    sound.play("0");
    EXPECT_EQ(sound.pendingBytes(), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  EXPECT_LT(heard(1000).count, kLongSamples);
}

TEST_F(SoundTest, UnreadableFilesAreSilentAndStopTheSoundPlaying) {
  {
    std::ofstream junk(dir_ / "junk.wav", std::ios::binary);
    junk << "RIFF\x10\0\0\0WAVEjunk and more junk";
  }
  // A header that promises a second of samples over a file holding a few.
  writeWave(dir_ / "truncated.wav", 2000, 0.001, kRate * 4);
  useDiskAudio();
  SdlSound sound;
  for (const char* name : {"missing.wav", "junk.wav", "truncated.wav"}) {
    sound.play(wave("long.wav"));
    sound.play(wave(name));
    EXPECT_LE(sound.pendingBytes(), 4u * 44u) << name;  // at most the few samples present
  }
  sound.play("");
  sound.play(dir_.string());  // a folder
  EXPECT_EQ(sound.pendingBytes(), 0u);
}

TEST_F(SoundTest, TheDummyDriverAndNoDeviceAtAllAreSilent) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  {
    SdlSound sound;
    sound.play(wave("long.wav"));
    EXPECT_TRUE(sound.deviceOpen());
    sound.play(wave("short.wav"));
    sound.play("0");
    sound.play(wave("missing.wav"));
  }
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SdlSound sound;
  sound.play(wave("short.wav"));
  sound.play("0");
  EXPECT_FALSE(sound.deviceOpen());
  EXPECT_EQ(sound.pendingBytes(), 0u);
}

}  // namespace
}  // namespace qlx
