// Writes sounds as RIFF/WAVE files: PCM, 16-bit, mono, little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

namespace qlx::waves {

// The bytes of a WAVE file holding the samples at `sampleRate`; values past ±1 are clipped.
std::vector<uint8_t> encodeWav(const Samples& samples, int sampleRate);

// Writes encodeWav's bytes to path; on failure returns false with a message in *error.
bool writeWav(const std::string& path, const Samples& samples, int sampleRate, std::string* error);

}  // namespace qlx::waves
