// The word list, indexed for filling: per word length the words (commonest level first) and,
// per (position, letter), a bitset of the word indices that hold that letter there.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/status.h"

namespace zandrel {

constexpr int kMinWordLength = 2;
constexpr int kMaxWordLength = 15;
constexpr int kDefaultLevel = 50;  // a line without a level counts as the rarest words

// All words of one length. Index order is by level (commonest first), so a level is a
// contiguous index range.
struct WordList {
  int length = 0;
  int count = 0;
  int blocks = 0;                      // 64-bit blocks of a bitset over this list
  std::vector<uint8_t> letters;        // count * length letters, 0..25
  std::vector<uint8_t> levels;         // commonness level of each word
  std::vector<uint32_t> masks;         // bit l set when the word holds letter 'a' + l
  std::vector<uint64_t> positionBits;  // (position * 26 + letter) * blocks + block
  std::vector<uint64_t> all;           // every word of the list
  std::vector<uint64_t> letterBits;    // letter * blocks + block: words holding the letter anywhere
  std::vector<int> positionCounts;     // position * 26 + letter: words with the letter there

  const uint8_t* word(int index) const {
    return letters.data() + static_cast<size_t>(index) * length;
  }
  const uint64_t* bits(int position, int letter) const {
    return positionBits.data() + static_cast<size_t>(position * 26 + letter) * blocks;
  }
  const uint64_t* holding(int letter) const {
    return letterBits.data() + static_cast<size_t>(letter) * blocks;
  }
};

// Receives each usable word of a source with its level.
using WordVisitor = std::function<void(std::string_view word, uint8_t level)>;
// Shows every usable word to the visitor, from the start each time it is called; false on
// a read error.
using WordSource = std::function<bool(const WordVisitor&)>;

class Dictionary {
 public:
  // Parses dictionary text: one word a line, optionally a space and its level; '#' lines,
  // blank lines and lines with anything but a-z in the word are skipped; repeated words keep
  // their commonest level.
  static Dictionary parse(std::string_view text);

  // Reads and parses a file; a failure says why and leaves out as it was.
  static qlx::Status load(const std::string& path, Dictionary& out);

  const WordList& words(int length) const { return lists_[length]; }
  bool hasLength(int length) const {
    return length >= kMinWordLength && length <= kMaxWordLength && lists_[length].count > 0;
  }
  int size() const { return total_; }

  // The word as text, for tests and messages.
  std::string text(int length, int index) const;

 private:
  static bool build(const WordSource& source, Dictionary& dict);

  std::array<WordList, kMaxWordLength + 1> lists_{};
  int total_ = 0;
};

}  // namespace zandrel
