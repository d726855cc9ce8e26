// The table of the game's wave files, full paths in the program folder, and playing one of them
// in the background.
#pragma once

#include <array>
#include <string>

namespace qlx {

class Backend;

enum SoundIndex : int {
  sndClick = 0,
  sndUnclick = 1,
  sndBeep = 2,
  sndBeeps = 3,
  sndRight = 4,
  sndClap = 5
};

inline constexpr std::array<const char*, 6> kSoundFileNames{"CLICK.wav", "UNCLICK.wav", "BEEP.wav",
                                                            "BEEPS.wav", "RIGHT.wav",   "CLAP.wav"};

using SoundFiles = std::array<std::string, kSoundFileNames.size()>;

// Each entry is appFolder (ending in a separator) followed by its file name; no file is opened.
void initSoundFiles(SoundFiles& soundFiles, const std::string& appFolder);

// Plays entry index asynchronously, replacing any sound playing; a missing file, an empty entry
// or an index outside the table is silent.
void playSoundFile(Backend& backend, const SoundFiles& soundFiles, int index);

}  // namespace qlx
