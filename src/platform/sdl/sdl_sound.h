// Wave playback through SDL's queued audio: one sound at a time, played in the background.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qlx {

class SdlSound {
 public:
  SdlSound() = default;
  ~SdlSound();
  SdlSound(const SdlSound&) = delete;
  SdlSound& operator=(const SdlSound&) = delete;

  // Stops the sound playing and starts the wave file at path; the name "0" only stops. A file
  // that cannot be read as a wave, or no audio device, leaves silence and says nothing.
  void play(const std::string& path);

  // Whether an audio device is open (it opens on the first play).
  bool deviceOpen() const { return device_ != 0; }
  // Bytes of sound still waiting to be played.
  std::size_t pendingBytes() const;

 private:
  bool openDevice();

  bool triedOpen_ = false;
  bool ownsSubsystem_ = false;
  uint32_t device_ = 0;
  // The device's format, which every wave is converted to.
  uint16_t format_ = 0;
  uint8_t channels_ = 0;
  int rate_ = 0;
};

}  // namespace qlx
