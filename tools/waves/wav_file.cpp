// RIFF/WAVE encoding: a 44-byte header (RIFF, "fmt " and "data" chunks) and 16-bit samples.
#include "wav_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace qlx::waves {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}
void putTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> encodeWav(const Samples& samples, int sampleRate) {
  constexpr uint32_t kChannels = 1, kBytesPerSample = 2;
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * kBytesPerSample);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  putTag(out, "RIFF");
  put32(out, 36 + dataBytes);  // everything after this field
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);  // size of the PCM format block
  put16(out, 1);   // PCM
  put16(out, kChannels);
  put32(out, static_cast<uint32_t>(sampleRate));
  put32(out, static_cast<uint32_t>(sampleRate) * kChannels * kBytesPerSample);  // bytes per second
  put16(out, kChannels * kBytesPerSample);                                      // block align
  put16(out, 16);                                                               // bits per sample
  putTag(out, "data");
  put32(out, dataBytes);
  for (float v : samples) {
    const long value = std::lround(std::clamp(static_cast<double>(v), -1.0, 1.0) * 32767.0);
    put16(out, static_cast<uint16_t>(static_cast<int16_t>(value)));
  }
  return out;
}

Status writeWav(const std::string& path, const Samples& samples, int sampleRate) {
  const std::vector<uint8_t> bytes = encodeWav(samples, sampleRate);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file)
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  if (file) file.close();
  if (!file) return Status::IoError("cannot write " + path);
  return Status::Ok();
}

}  // namespace qlx::waves
