// Reading the plain-text inputs of the dictionary compiler: scowl word lists
// (one entry per line, UTF-8) and the blocklist (one word per line, '#' comments).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>
#include "core/status.h"

namespace qlx::dictc {

inline constexpr std::size_t kMinWordLength = 2;
inline constexpr std::size_t kMaxWordLength = 15;

// Every line of a text file, without its line ending ("\n" or "\r\n"). A file that is missing
// or cannot be read gives a status naming it.
Status readLines(const std::filesystem::path& file, std::vector<std::string>* lines);

// True for a word the game can use: only the letters a..z, 2 to 15 of them.
// Capitals, apostrophes, accents (any non-ASCII byte), digits and spaces all fail.
bool isPlainWord(std::string_view line);

// The lines of a scowl list that pass isPlainWord, in file order.
Status readPlainWords(const std::filesystem::path& file, std::vector<std::string>* words);

using Blocklist = std::unordered_set<std::string>;

// The words of a blocklist file: blank lines and lines starting with '#' are skipped,
// surrounding spaces trimmed and letters lowered. A missing or unreadable file gives a status
// naming it.
Status readBlocklist(const std::filesystem::path& file, Blocklist* blocked);

}  // namespace qlx::dictc
