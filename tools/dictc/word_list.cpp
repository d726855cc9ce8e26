// Reading scowl lists and the blocklist, and the plain-word test both share.
#include "word_list.h"

#include <fstream>

namespace qlx::dictc {

Status readLines(const std::filesystem::path& file, std::vector<std::string>* lines) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    return Status::NotFound("cannot read " + file.string() + ": no such file");
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    return Status::IoError("cannot open " + file.string());
  }
  lines->clear();
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines->push_back(std::move(line));
  }
  // getline stops on end of file (eof+fail) or on a read error (bad): only the latter is a fault.
  if (in.bad()) {
    return Status::IoError("error while reading " + file.string());
  }
  return Status::Ok();
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

Status readPlainWords(const std::filesystem::path& file, std::vector<std::string>* words) {
  std::vector<std::string> lines;
  if (Status st = readLines(file, &lines); !st.ok()) return st;
  words->clear();
  for (std::string& line : lines) {
    if (isPlainWord(line)) {
      words->push_back(std::move(line));
    }
  }
  return Status::Ok();
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

Status readBlocklist(const std::filesystem::path& file, Blocklist* blocked) {
  std::vector<std::string> lines;
  if (Status st = readLines(file, &lines); !st.ok()) return st;
  blocked->clear();
  for (const std::string& raw : lines) {
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
    blocked->insert(std::move(word));
  }
  return Status::Ok();
}

}  // namespace qlx::dictc
