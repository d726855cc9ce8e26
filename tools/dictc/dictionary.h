// Building the game dictionary from graded scowl lists and writing it as XWORD.DICT:
// a '#' comment line, then "word level" lines sorted by word, each word once,
// carrying the lowest (most common) level it appears at.
#pragma once

#include "word_list.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qlx::dictc {

// The size levels the scowl lists come in; a lower level means a more common word.
inline constexpr std::array<int, 10> kScowlLevels{10, 20, 35, 40, 50, 55, 60, 70, 80, 95};

struct Dictionary {
  std::map<std::string, int> words;  // word -> lowest level; std::map keeps them sorted
  std::set<std::string> blocked;     // distinct words the blocklist kept out
};

// The scowl levels not above maxLevel, lowest first (empty when maxLevel < 10).
std::vector<int> levelsUpTo(int maxLevel);

// Where a spelling's list of a level lives: DIR/SPELLING-words.LEVEL (english is the
// spelling-neutral one; british and american hold their own spellings).
std::filesystem::path scowlListPath(const std::filesystem::path& scowlDir, int level,
                                    const std::string& spelling = "english");

// Adds the plain words of one level, keeping the lower level of a word seen before
// and recording blocked words instead of adding them. Words must already be plain.
void addWords(Dictionary& dict, const std::vector<std::string>& words, int level,
              const Blocklist& blocklist);

// Reads SPELLING-words.L for every spelling and every level L up to maxLevel and merges them. Fails
// naming the folder or file when one is missing, and refuses a maxLevel below the lowest level or
// lists where no word survives (an empty dictionary fills no grid).
Status buildDictionary(const std::filesystem::path& scowlDir, int maxLevel,
                       const Blocklist& blocklist, Dictionary* dict,
                       const std::vector<std::string>& spellings = {"english"});

// The complete text of a dictionary file; its first line names it.
std::string formatDictionary(const Dictionary& dict, int maxLevel,
                             const std::string& name = "XWORD.DICT");

// Writes formatDictionary to a temporary name beside `out` and renames it over `out`,
// so a failed run never leaves a partial file. A failure names the file.
Status writeDictionary(const std::filesystem::path& out, const Dictionary& dict, int maxLevel);

// Number of kept words per level, for the summary.
std::map<int, std::size_t> countByLevel(const Dictionary& dict);

// One-line report: words kept (with the split by level) and words blocked.
std::string summaryLine(const Dictionary& dict);

}  // namespace qlx::dictc
