// Writes sounds as RIFF/WAVE files: PCM, 16-bit, mono, little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/status.h"
#include "synth.h"

namespace qlx::waves {

// The bytes of a WAVE file holding the samples at `sampleRate`; values past ±1 are clipped.
std::vector<uint8_t> encodeWav(const Samples& samples, int sampleRate);

// Writes encodeWav's bytes to path.
Status writeWav(const std::string& path, const Samples& samples, int sampleRate);

}  // namespace qlx::waves
