// The six sound effects that ship beside the game, synthesised from the building blocks.
#pragma once

#include <string>
#include <vector>

#include "synth.h"

namespace qlx::waves {

struct Sound {
  std::string file;  // name in the program folder, e.g. "CLAP.wav"
  Samples samples;   // mono at kSampleRate
};

// CLICK, UNCLICK, BEEP, BEEPS, RIGHT and CLAP, in the order of the game's sound table.
std::vector<Sound> makeSounds();

}  // namespace qlx::waves
