// quillorix-waves: synthesises the game's sound effects into a folder.
//   quillorix-waves --out DIR
// Writes CLICK.wav, UNCLICK.wav, BEEP.wav, BEEPS.wav, RIGHT.wav and CLAP.wav. Exit 0 when all
// are written, 1 when one cannot be, 2 on a bad command line.
#include <iostream>
#include <string>
#include "core/program_options.h"

#include "sounds.h"
#include "wav_file.h"

int main(int argc, char** argv) {
  if (const auto done =
          qlx::standardOption(argc, argv, "quillorix-waves", "usage: quillorix-waves --out DIR"))
    return *done;
  using namespace qlx::waves;
  constexpr const char* kUsage = "usage: quillorix-waves --out DIR";
  std::string dir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      dir = argv[++i];
    } else {
      std::cerr << "quillorix-waves: unknown or incomplete option " << arg << '\n'
                << kUsage << '\n';
      return 2;
    }
  }
  if (dir.empty()) {
    std::cerr << "quillorix-waves: no output folder given\n" << kUsage << '\n';
    return 2;
  }
  for (const Sound& sound : makeSounds()) {
    if (const qlx::Status written = writeWav(dir + "/" + sound.file, sound.samples, kSampleRate);
        !written) {
      std::cerr << "quillorix-waves: " << written.message() << '\n';
      return 1;
    }
  }
  std::cout << "quillorix-waves: six sounds written to " << dir << '\n';
  return 0;
}
