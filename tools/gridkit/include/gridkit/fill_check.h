// Checks a fill made by the word-fill library against its pattern and the dictionary:
// every white cell a letter, every block left alone, every run a distinct dictionary word.
#pragma once

#include "core/status.h"
#include "gridkit/pattern.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qlx::gridkit {

using WordSet = std::unordered_set<std::string>;

// The words of XWORD.DICT: the first field of every line that is not a '#' comment.
Status readDictionaryWords(const std::string& path, WordSet* words);

// The buffer the library fills: '?' in white cells, '-' in blocks, row by row.
std::string fillTemplate(const Pattern& pattern);

// What is wrong with `letters` as a fill of `pattern`; empty when it is a good fill.
std::vector<std::string> fillProblems(const Pattern& pattern, std::string_view letters,
                                      const WordSet& words);

}  // namespace qlx::gridkit
