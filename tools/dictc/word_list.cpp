// Reading scowl lists and the blocklist, and the plain-word test both share.
#include "word_list.h"

#include "dictc_error.h"

#include <fstream>

namespace qlx::dictc {

std::vector<std::string> readLines(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    throw DictcError("cannot read " + file.string() + ": no such file");
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw DictcError("cannot open " + file.string());
  }
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(std::move(line));
  }
  // getline stops on end of file (eof+fail) or on a read error (bad): only the latter is a fault.
  if (in.bad()) {
    throw DictcError("error while reading " + file.string());
  }
  return lines;
}

bool isPlainWord(std::string_view line) {
  if (line.size() < kMinWordLength || line.size() > kMaxWordLength) {
    return false;
  }
  for (const char c : line) {
    if (c < 'a' || c > 'z') {
      return false;
    }
  }
  return true;
}

std::vector<std::string> readPlainWords(const std::filesystem::path& file) {
  std::vector<std::string> words;
  for (std::string& line : readLines(file)) {
    if (isPlainWord(line)) {
      words.push_back(std::move(line));
    }
  }
  return words;
}

namespace {

std::string_view trim(std::string_view s) {
  const auto isSpace = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
  };
  while (!s.empty() && isSpace(s.front())) {
    s.remove_prefix(1);
  }
  while (!s.empty() && isSpace(s.back())) {
    s.remove_suffix(1);
  }
  return s;
}

}  // namespace

Blocklist readBlocklist(const std::filesystem::path& file) {
  Blocklist blocked;
  for (const std::string& raw : readLines(file)) {
    const std::string_view entry = trim(raw);
    if (entry.empty() || entry.front() == '#') {
      continue;
    }
    std::string word(entry);
    for (char& c : word) {
      if (c >= 'A' && c <= 'Z') {
        c = static_cast<char>(c - 'A' + 'a');
      }
    }
    blocked.insert(std::move(word));
  }
  return blocked;
}

}  // namespace qlx::dictc
