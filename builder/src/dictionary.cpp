// Reading XWORD.DICT and building the per-length word indexes. Loading runs at game
// start-up, so it avoids per-word allocations: words are packed into fixed keys and sorted.
#include "dictionary.h"

#include "bits.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zandrel {

namespace {

struct Entry {
  uint64_t hi, lo; // letters 1..26 in 5-bit fields, first letter most significant
  uint8_t level;
  bool operator<(const Entry &o) const {
    if (hi != o.hi) return hi < o.hi;
    if (lo != o.lo) return lo < o.lo;
    return level < o.level;
  }
  bool sameWord(const Entry &o) const { return hi == o.hi && lo == o.lo; }
};

// Packs up to 15 letters: the first 12 into hi, the rest into lo.
Entry pack(std::string_view word, uint8_t level) {
  Entry e{0, 0, level};
  for (size_t i = 0; i < word.size(); ++i) {
    uint64_t &field = i < 12 ? e.hi : e.lo;
    field = (field << 5) | static_cast<uint64_t>(word[i] - 'a' + 1);
  }
  return e;
}

void unpack(const Entry &e, int length, uint8_t *out) {
  for (int i = length - 1; i >= 0; --i) {
    if (i >= 12) {
      out[i] = static_cast<uint8_t>((e.lo >> (5 * (length - 1 - i))) & 31U) - 1;
    } else {
      const int shift = 5 * (std::min(length, 12) - 1 - i);
      out[i] = static_cast<uint8_t>((e.hi >> shift) & 31U) - 1;
    }
  }
}

// Parses one line; false when the line is to be skipped.
bool parseLine(std::string_view line, std::string_view &word, uint8_t &level) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty() || line.front() == '#') return false;
  const size_t space = line.find(' ');
  word = line.substr(0, space);
  if (word.size() < static_cast<size_t>(kMinWordLength) || word.size() > static_cast<size_t>(kMaxWordLength))
    return false;
  for (char c : word)
    if (c < 'a' || c > 'z') return false;
  level = kDefaultLevel;
  if (space != std::string_view::npos) {
    const std::string_view rest = line.substr(space + 1);
    if (rest.empty() || rest.size() > 3) return false;
    int value = 0;
    for (char c : rest) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
    }
    if (value > 255) return false;
    level = static_cast<uint8_t>(value);
  }
  return true;
}

void build(WordList &list, int length, std::vector<Entry> &entries) {
  // Alphabetical with repeats removed (the commonest level sorts first), then a stable
  // counting sort by level so each level is one index range. The shipped file is already
  // alphabetical, so the sort is usually skipped.
  if (!std::is_sorted(entries.begin(), entries.end())) std::sort(entries.begin(), entries.end());
  entries.erase(std::unique(entries.begin(), entries.end(),
                            [](const Entry &a, const Entry &b) { return a.sameWord(b); }),
                entries.end());
  std::array<int, 257> start{};
  for (const Entry &e : entries) ++start[e.level + 1];
  for (int l = 1; l < 257; ++l) start[l] += start[l - 1];

  list.length = length;
  list.count = static_cast<int>(entries.size());
  list.blocks = blocksFor(list.count);
  list.letters.assign(entries.size() * length, 0);
  list.levels.assign(entries.size(), 0);
  list.masks.assign(entries.size(), 0);
  list.positionBits.assign(static_cast<size_t>(length) * 26 * list.blocks, 0);
  list.all.assign(list.blocks, 0);
  list.letterBits.assign(static_cast<size_t>(26) * list.blocks, 0);
  for (const Entry &e : entries) {
    const int index = start[e.level]++;
    uint8_t *word = list.letters.data() + static_cast<size_t>(index) * length;
    unpack(e, length, word);
    list.levels[index] = e.level;
    uint32_t mask = 0;
    for (int p = 0; p < length; ++p) {
      mask |= 1U << word[p];
      setBit(list.positionBits.data() + static_cast<size_t>(p * 26 + word[p]) * list.blocks, index);
    }
    list.masks[index] = mask;
    for (uint32_t m = mask; m != 0; m &= m - 1)
      setBit(list.letterBits.data() + static_cast<size_t>(std::countr_zero(m)) * list.blocks, index);
    setBit(list.all.data(), index);
  }
}

} // namespace

Dictionary Dictionary::parse(std::string_view text) {
  std::array<std::vector<Entry>, kMaxWordLength + 1> byLength;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word;
    uint8_t level = 0;
    if (parseLine(text.substr(pos, end - pos), word, level))
      byLength[word.size()].push_back(pack(word, level));
    pos = end + 1;
  }
  Dictionary dict;
  for (int length = kMinWordLength; length <= kMaxWordLength; ++length) {
    build(dict.lists_[length], length, byLength[length]);
    dict.total_ += dict.lists_[length].count;
  }
  return dict;
}

bool Dictionary::load(const std::string &path, Dictionary &out, std::string &error) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = "cannot open the dictionary " + path + ": " + std::strerror(errno);
    return false;
  }
  std::string text;
  char buffer[1 << 16];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    error = "cannot read the dictionary " + path;
    return false;
  }
  Dictionary dict = parse(text);
  if (dict.size() == 0) {
    error = "the dictionary " + path + " holds no usable words";
    return false;
  }
  out = std::move(dict);
  return true;
}

std::string Dictionary::text(int length, int index) const {
  std::string s(static_cast<size_t>(length), ' ');
  const uint8_t *w = lists_[length].word(index);
  for (int i = 0; i < length; ++i) s[i] = static_cast<char>('a' + w[i]);
  return s;
}

} // namespace zandrel
