// The acceptance words, grouped by repeat pattern, with their per-position letter bitsets made
// lazily: a puzzle touches a few dozen groups of the thousands a broad dictionary has.
#include "puzzle/word_table.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace qlx {

namespace {
constexpr std::size_t kMinLength = 2, kMaxLength = 15;
}  // namespace

void WordTable::add(std::string_view word) {
  if (word.size() < kMinLength || word.size() > kMaxLength) return;
  for (const char c : word)
    if (c < 'a' || c > 'z') return;
  WordGroup& g = groups_[repeatPattern(word)];
  g.length = int(word.size());
  for (const char c : word) g.letters.push_back(uint8_t(c - 'a'));
  ++g.count;
  g.bits.clear();  // made again on next use
  ++size_;
}

const WordGroup* WordTable::group(const std::string& pattern) const {
  const auto found = groups_.find(pattern);
  if (found == groups_.end()) return nullptr;
  WordGroup& g = found->second;
  if (g.bits.empty()) {
    g.blocks = (g.count + 63) / 64;
    g.bits.assign(std::size_t(26 * g.length * g.blocks), 0);
    for (int w = 0; w < g.count; ++w)
      for (int pos = 0; pos < g.length; ++pos) {
        const int letter = g.letters[std::size_t(w * g.length + pos)];
        g.bits[std::size_t((pos * 26 + letter) * g.blocks + w / 64)] |= uint64_t{1} << (w % 64);
      }
  }
  return &g;
}

Status readWordTable(const std::string& path, WordTable* table) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Status::NotFound("The word list " + path + " is missing or cannot be read.");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Status::IoError("The word list " + path + " could not be read.");
  table->reserveGroups(text.size() / 64);  // a broad list has a group per 10 to 20 words
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line(text.data() + at, end - at);
    if (!line.empty() && line[0] != '#') table->add(line.substr(0, line.find_first_of(" \r")));
    at = end + 1;
  }
  if (table->size() == 0) return Status::Damaged("The word list " + path + " holds no words.");
  return Status::Ok();
}

}  // namespace qlx
