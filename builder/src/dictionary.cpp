// Reading XWORD.DICT and building the per-length word indexes. Loading runs at game
// start-up, so it avoids per-word allocations and, for the usual alphabetical file, sorting.
#include "dictionary.h"

#include "bits.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace zandrel {

namespace {

struct Entry {
  uint64_t hi, lo;  // letters 1..26 in 5-bit fields, first letter most significant
  uint8_t level;
  bool operator<(const Entry& o) const {
    if (hi != o.hi) return hi < o.hi;
    if (lo != o.lo) return lo < o.lo;
    return level < o.level;
  }
  bool sameWord(const Entry& o) const { return hi == o.hi && lo == o.lo; }
};

// Packs up to 15 letters: the first 12 into hi, the rest into lo.
Entry pack(std::string_view word, uint8_t level) {
  Entry e{0, 0, level};
  for (size_t i = 0; i < word.size(); ++i) {
    uint64_t& field = i < 12 ? e.hi : e.lo;
    field = (field << 5) | static_cast<uint64_t>(word[i] - 'a' + 1);
  }
  return e;
}

void unpack(const Entry& e, int length, uint8_t* out) {
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
bool parseLine(std::string_view line, std::string_view& word, uint8_t& level) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty() || line.front() == '#') return false;
  const size_t space = line.find(' ');
  word = line.substr(0, space);
  if (word.size() < static_cast<size_t>(kMinWordLength) ||
      word.size() > static_cast<size_t>(kMaxWordLength))
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

// Sizes the arrays of a list for count words, all bitsets empty.
void allocate(WordList& list, int length, int count) {
  list.length = length;
  list.count = count;
  list.blocks = blocksFor(count);
  list.letters.assign(static_cast<size_t>(count) * length, 0);
  list.levels.assign(static_cast<size_t>(count), 0);
  list.masks.assign(static_cast<size_t>(count), 0);
  list.positionBits.assign(static_cast<size_t>(length) * 26 * list.blocks, 0);
  list.all.assign(static_cast<size_t>(list.blocks), 0);
  list.letterBits.assign(static_cast<size_t>(26) * list.blocks, 0);
  list.positionCounts.assign(static_cast<size_t>(length) * 26, 0);
}

// Stores word (a..z) at index and sets its bits.
void place(WordList& list, int index, std::string_view word, uint8_t level) {
  uint8_t* letters = list.letters.data() + static_cast<size_t>(index) * list.length;
  uint32_t mask = 0;
  for (int p = 0; p < list.length; ++p) {
    const int letter = word[static_cast<size_t>(p)] - 'a';
    letters[p] = static_cast<uint8_t>(letter);
    mask |= 1U << letter;
    setBit(list.positionBits.data() + static_cast<size_t>(p * 26 + letter) * list.blocks, index);
    ++list.positionCounts[static_cast<size_t>(p * 26 + letter)];
  }
  list.levels[static_cast<size_t>(index)] = level;
  list.masks[static_cast<size_t>(index)] = mask;
  for (uint32_t m = mask; m != 0; m &= m - 1)
    setBit(list.letterBits.data() + static_cast<size_t>(std::countr_zero(m)) * list.blocks, index);
  setBit(list.all.data(), index);
}

// Calls visit(word, level) for every line of text that holds a usable word.
void visitText(std::string_view text, const WordVisitor& visit) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word;
    uint8_t level = 0;
    if (parseLine(text.substr(pos, end - pos), word, level)) visit(word, level);
    pos = end + 1;
  }
}

// The same for a file, read from the start through one reused buffer: holding the whole
// text would cost fresh memory pages, which are dear at start-up. False on a read error.
bool visitFile(std::FILE* file, const WordVisitor& visit) {
  std::rewind(file);
  constexpr size_t kBuffer = 1 << 16;
  auto buffer = std::make_unique<char[]>(kBuffer);
  size_t kept = 0;        // bytes of an unfinished line at the buffer's start
  bool skipping = false;  // inside a line too long for the buffer: no word, skip to its end
  for (;;) {
    const size_t got = std::fread(buffer.get() + kept, 1, kBuffer - kept, file);
    const size_t total = kept + got;
    const std::string_view chunk(buffer.get(), total);
    if (got == 0) {
      if (!skipping && total > 0) visitText(chunk, visit);  // last line, no newline
      break;
    }
    size_t pos = 0;
    for (size_t end; (end = chunk.find('\n', pos)) != std::string_view::npos; pos = end + 1) {
      if (!skipping) visitText(chunk.substr(pos, end - pos), visit);
      skipping = false;
    }
    kept = total - pos;
    if (kept == kBuffer) {
      skipping = true;
      kept = 0;
    } else {
      std::memmove(buffer.get(), buffer.get() + pos, kept);
    }
  }
  return std::ferror(file) == 0;
}

constexpr uintmax_t kMaxFileBytes = 64U << 20;  // a word list is well under 10 MB

using LevelCounts = std::array<std::array<int, 256>, kMaxWordLength + 1>;

// Index order within a length: by level (commonest first), alphabetical within a level.
// Turns word counts per level into where the first word of each level goes.
void levelStarts(LevelCounts& counts) {
  for (auto& perLevel : counts) {
    int next = 0;
    for (int& n : perLevel) {
      const int here = n;
      n = next;
      next += here;
    }
  }
}

}  // namespace

bool Dictionary::build(const WordSource& source, Dictionary& dict) {
  // The shipped file is alphabetical without repeats. Then one counting pass sizes every
  // array exactly and a second puts each word straight where it belongs: no sorting, no
  // regrowth. Any other order packs the words into sortable keys, sorts them and drops
  // repeats (keeping the commonest level) first.
  auto start = std::make_unique<LevelCounts>();
  std::array<std::array<char, kMaxWordLength>, kMaxWordLength + 1> previous{};
  bool ordered = true;
  bool readable = source([&](std::string_view word, uint8_t level) {
    ++(*start)[word.size()][level];
    char* last = previous[word.size()].data();
    if (last[0] != 0 && std::string_view(last, word.size()) >= word) ordered = false;
    std::memcpy(last, word.data(), word.size());
  });
  if (!readable) return false;

  if (ordered) {
    for (int length = kMinWordLength; length <= kMaxWordLength; ++length) {
      int count = 0;
      for (int n : (*start)[length]) count += n;
      allocate(dict.lists_[length], length, count);
    }
    levelStarts(*start);
    readable = source([&](std::string_view word, uint8_t level) {
      place(dict.lists_[word.size()], (*start)[word.size()][level]++, word, level);
    });
    if (!readable) return false;
  } else {
    std::array<std::vector<Entry>, kMaxWordLength + 1> byLength;
    readable = source([&](std::string_view word, uint8_t level) {
      byLength[word.size()].push_back(pack(word, level));
    });
    if (!readable) return false;
    *start = LevelCounts{};
    for (int length = kMinWordLength; length <= kMaxWordLength; ++length) {
      std::vector<Entry>& entries = byLength[length];
      std::sort(entries.begin(), entries.end());
      entries.erase(std::unique(entries.begin(), entries.end(),
                                [](const Entry& a, const Entry& b) { return a.sameWord(b); }),
                    entries.end());
      for (const Entry& e : entries) ++(*start)[length][e.level];
    }
    levelStarts(*start);
    for (int length = kMinWordLength; length <= kMaxWordLength; ++length) {
      allocate(dict.lists_[length], length, static_cast<int>(byLength[length].size()));
      for (const Entry& e : byLength[length]) {
        uint8_t letters[kMaxWordLength];
        char word[kMaxWordLength];
        unpack(e, length, letters);
        for (int i = 0; i < length; ++i) word[i] = static_cast<char>('a' + letters[i]);
        place(dict.lists_[length], (*start)[length][e.level]++,
              std::string_view(word, static_cast<size_t>(length)), e.level);
      }
    }
  }
  dict.total_ = 0;
  for (int length = kMinWordLength; length <= kMaxWordLength; ++length)
    dict.total_ += dict.lists_[length].count;
  return true;
}

Dictionary Dictionary::parse(std::string_view text) {
  Dictionary dict;
  build(
      [text](const WordVisitor& visit) {
        visitText(text, visit);
        return true;
      },
      dict);
  return dict;
}

qlx::Status Dictionary::load(const std::string& path, Dictionary& out) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    return qlx::Status::NotFound("cannot open the dictionary " + path + ": " +
                                 std::strerror(errno));
  }
  // A folder opens but has no file size.
  std::error_code sizeError;
  const uintmax_t size = std::filesystem::file_size(path, sizeError);
  if (sizeError || size > kMaxFileBytes) {
    std::fclose(file);
    return qlx::Status::IoError(
        "cannot read the dictionary " + path + ": " +
        (sizeError ? sizeError.message() : std::string("larger than any word list")));
  }
  Dictionary dict;
  const bool readable =
      build([file](const WordVisitor& visit) { return visitFile(file, visit); }, dict);
  std::fclose(file);
  if (!readable) return qlx::Status::IoError("cannot read the dictionary " + path);
  if (dict.size() == 0) {
    return qlx::Status::Damaged("the dictionary " + path + " holds no usable words");
  }
  out = std::move(dict);
  return qlx::Status::Ok();
}

std::string Dictionary::text(int length, int index) const {
  std::string s(static_cast<size_t>(length), ' ');
  const uint8_t* w = lists_[length].word(index);
  for (int i = 0; i < length; ++i) s[i] = static_cast<char>('a' + w[i]);
  return s;
}

}  // namespace zandrel
