// Merging the graded word lists into one sorted dictionary and writing it safely.
#include "dictionary.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

namespace qlx::dictc {

std::vector<int> levelsUpTo(int maxLevel) {
  std::vector<int> levels;
  for (const int level : kScowlLevels) {
    if (level <= maxLevel) {
      levels.push_back(level);
    }
  }
  return levels;
}

std::filesystem::path scowlListPath(const std::filesystem::path& scowlDir, int level,
                                    const std::string& spelling) {
  return scowlDir / (spelling + "-words." + std::to_string(level));
}

void addWords(Dictionary& dict, const std::vector<std::string>& words, int level,
              const Blocklist& blocklist) {
  for (const std::string& word : words) {
    if (blocklist.contains(word)) {
      dict.blocked.insert(word);
      continue;
    }
    const auto [it, inserted] = dict.words.emplace(word, level);
    if (!inserted) {
      it->second = std::min(it->second, level);
    }
  }
}

Status buildDictionary(const std::filesystem::path& scowlDir, int maxLevel,
                       const Blocklist& blocklist, Dictionary* dict,
                       const std::vector<std::string>& spellings) {
  const std::vector<int> levels = levelsUpTo(maxLevel);
  if (levels.empty()) {
    return Status::Refused("--max-level " + std::to_string(maxLevel) +
                           " is below the lowest scowl level " +
                           std::to_string(kScowlLevels.front()));
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(scowlDir, ec)) {
    return Status::NotFound("scowl folder not found: " + scowlDir.string());
  }
  *dict = Dictionary();
  std::vector<std::string> words;
  for (const std::string& spelling : spellings)
    for (const int level : levels) {
      Status st = readPlainWords(scowlListPath(scowlDir, level, spelling), &words);
      if (!st.ok()) return st;
      addWords(*dict, words, level, blocklist);
    }
  if (dict->words.empty()) {
    return Status::Refused("no words left from the scowl lists in " + scowlDir.string() +
                           "; refusing to write an empty dictionary");
  }
  return Status::Ok();
}

std::string formatDictionary(const Dictionary& dict, int maxLevel, const std::string& name) {
  std::string text = "# " + name +
                     ": Quillorix dictionary, one word per line with its commonness level "
                     "(10 most common .. " +
                     std::to_string(maxLevel) +
                     "), built by quillorix-dictc from the scowl lists\n";
  text.reserve(text.size() + dict.words.size() * 12);
  for (const auto& [word, level] : dict.words) {
    text += word;
    text += ' ';
    text += std::to_string(level);
    text += '\n';
  }
  return text;
}

Status writeDictionary(const std::filesystem::path& out, const Dictionary& dict, int maxLevel) {
  std::filesystem::path temp = out;
  temp += ".tmp";
  const std::string text = formatDictionary(dict, maxLevel, out.filename().string());
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file) {
      return Status::IoError("cannot create " + temp.string());
    }
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (file.fail()) {
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return Status::IoError("error while writing " + temp.string());
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, out, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return Status::IoError("cannot rename " + temp.string() + " to " + out.string() + ": " +
                           ec.message());
  }
  return Status::Ok();
}

std::map<int, std::size_t> countByLevel(const Dictionary& dict) {
  std::map<int, std::size_t> counts;
  for (const auto& entry : dict.words) {
    ++counts[entry.second];
  }
  return counts;
}

std::string summaryLine(const Dictionary& dict) {
  std::ostringstream line;
  line << "kept " << dict.words.size() << " words (";
  bool first = true;
  for (const auto& [level, count] : countByLevel(dict)) {
    line << (first ? "" : ", ") << "level " << level << ": " << count;
    first = false;
  }
  line << "), blocked " << dict.blocked.size() << " words";
  return line.str();
}

}  // namespace qlx::dictc
