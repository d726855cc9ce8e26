// The audio device opens on the first play (a game that never sounds never touches audio).
// Each wave is converted to the device's format with an SDL_AudioStream and queued after the
// queue is cleared, so a new sound cuts the old one off.
#include "platform/sdl/sdl_sound.h"

#include <SDL.h>

#include <vector>

namespace qlx {

SdlSound::~SdlSound() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (ownsSubsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::size_t SdlSound::pendingBytes() const {
  return device_ != 0 ? SDL_GetQueuedAudioSize(device_) : 0;
}

bool SdlSound::openDevice() {
  if (triedOpen_) return device_ != 0;
  triedOpen_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  ownsSubsystem_ = true;
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 2048;
  SDL_AudioSpec have{};
  // Any format the device prefers: the waves are converted to it.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_ANY_CHANGE);
  if (device_ == 0) return false;
  format_ = have.format;
  channels_ = have.channels;
  rate_ = have.freq;
  return true;
}

void SdlSound::play(const std::string& path) {
  if (path == "0") {
    if (device_ != 0) SDL_ClearQueuedAudio(device_);
    return;
  }
  if (!openDevice()) return;
  SDL_ClearQueuedAudio(device_);

  SDL_AudioSpec wavFormat{};
  Uint8* wave = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV(path.c_str(), &wavFormat, &wave, &length) == nullptr) return;

  std::vector<Uint8> converted;
  if (SDL_AudioStream* stream = SDL_NewAudioStream(wavFormat.format, wavFormat.channels,
                                                   wavFormat.freq, format_, channels_, rate_)) {
    if (SDL_AudioStreamPut(stream, wave, static_cast<int>(length)) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
      converted.resize(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
      const int got =
          SDL_AudioStreamGet(stream, converted.data(), static_cast<int>(converted.size()));
      converted.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    SDL_FreeAudioStream(stream);
  }
  SDL_FreeWAV(wave);
  if (converted.empty()) return;
  SDL_QueueAudio(device_, converted.data(), static_cast<Uint32>(converted.size()));
  SDL_PauseAudioDevice(device_, 0);
}

}  // namespace qlx
