// The sound table and its playing through the back end.
#include "drawkit/sounds.h"

#include "platform/backend.h"

namespace qlx {

void initSoundFiles(SoundFiles& soundFiles, const std::string& appFolder) {
  for (std::size_t i = 0; i < kSoundFileNames.size(); ++i)
    soundFiles[i] = appFolder + kSoundFileNames[i];
}

void playSoundFile(Backend& backend, const SoundFiles& soundFiles, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= soundFiles.size()) return;
  const std::string& path = soundFiles[static_cast<std::size_t>(index)];
  // An empty entry is a table not yet filled.
  if (!path.empty()) backend.playSound(path);
}

}  // namespace qlx
