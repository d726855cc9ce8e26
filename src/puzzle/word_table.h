// The words a coded grid may be read as, grouped by their pattern of repeated letters: a run of
// numbers can only read as words whose letters repeat exactly where its numbers do. Each group
// keeps one bitset of its words per (position, letter), which the solution count intersects.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/status.h"

namespace qlx {

// The words of one length and one repeat pattern.
struct WordGroup {
  int length = 0;
  int count = 0;
  std::vector<uint8_t> letters;  // count * length letters, 0 = 'a'
  int blocks = 0;                // uint64_t blocks of one bitset
  std::vector<uint64_t> bits;    // (position * 26 + letter) * blocks: the words holding it there

  const uint64_t* holding(int position, int letter) const {
    return bits.data() + std::size_t(position * 26 + letter) * std::size_t(blocks);
  }
};

class WordTable {
 public:
  // Words of 2 to 15 letters 'a'..'z' are kept; anything else is skipped. A word given twice
  // changes no count of solutions.
  void add(std::string_view word);
  std::size_t size() const { return size_; }
  void reserveGroups(std::size_t groups) { groups_.reserve(groups); }

  // The group of words whose letters repeat where pattern's entries do (pattern[i] is the
  // first position holding the same letter as position i); null when no word has it. The
  // group's bitsets are made on first use.
  const WordGroup* group(const std::string& pattern) const;

 private:
  mutable std::unordered_map<std::string, WordGroup> groups_;
  std::size_t size_ = 0;
};

// The repeat pattern of a sequence (a word, or a run's numbers): for each position, the first
// position with an equal value. At most 15 bytes, so the string needs no allocation.
template <typename Seq>
std::string repeatPattern(const Seq& seq) {
  std::string pattern(seq.size(), '\0');
  for (std::size_t i = 0; i < seq.size(); ++i) {
    std::size_t first = 0;
    while (seq[first] != seq[i]) ++first;
    pattern[i] = char(first);
  }
  return pattern;
}

// Reads a dictionary file (one word per line, optionally followed by a space and a level; '#'
// lines are comments) into a table. A missing or unreadable file, or one with no usable word,
// gives a status naming it.
Status readWordTable(const std::string& path, WordTable* table);

}  // namespace qlx
