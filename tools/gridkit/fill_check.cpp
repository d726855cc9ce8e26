// Fill checker shared by the grid fill test and quillorix-gridfill.
#include "gridkit/fill_check.h"

#include "gridkit/rules.h"

#include <fstream>
#include <set>

namespace qlx::gridkit {

Status readDictionaryWords(const std::string& path, WordSet* words) {
  std::ifstream in(path);
  if (!in) return Status::NotFound("cannot open " + path);
  words->clear();
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t end = line.find_first_of(" \t\r");
    words->insert(line.substr(0, end));
  }
  if (in.bad()) return Status::IoError("cannot read " + path);
  return Status::Ok();
}

std::string fillTemplate(const Pattern& pattern) {
  std::string out;
  for (std::uint8_t cell : pattern.cells) out += cell ? '?' : '-';
  return out;
}

std::vector<std::string> fillProblems(const Pattern& p, std::string_view letters,
                                      const WordSet& words) {
  std::vector<std::string> problems;
  if (letters.size() != p.cells.size()) {
    problems.push_back("the fill has " + std::to_string(letters.size()) + " cells, the grid " +
                       std::to_string(p.cells.size()));
    return problems;
  }
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const std::string where = "row " + std::to_string(i / static_cast<std::size_t>(p.cols) + 1) +
                              ", column " +
                              std::to_string(i % static_cast<std::size_t>(p.cols) + 1);
    if (p.cells[i] && (letters[i] < 'a' || letters[i] > 'z'))
      problems.push_back("white cell at " + where + " holds byte " +
                         std::to_string(static_cast<unsigned char>(letters[i])));
    if (!p.cells[i] && letters[i] != '-')
      problems.push_back("block at " + where + " was overwritten");
  }
  if (!problems.empty()) return problems;
  std::set<std::string> used;
  for (const Run& run : findRuns(p)) {
    std::string word;
    for (int k = 0; k < run.length; ++k)
      word += letters[static_cast<std::size_t>(run.across ? run.row * p.cols + run.col + k
                                                          : (run.row + k) * p.cols + run.col)];
    const std::string where = std::string(run.across ? "across" : "down") + " at row " +
                              std::to_string(run.row + 1) + ", column " +
                              std::to_string(run.col + 1);
    if (!words.contains(word))
      problems.push_back("\"" + word + "\" " + where + " is not in the dictionary");
    if (!used.insert(word).second)
      problems.push_back("\"" + word + "\" " + where + " is used twice");
  }
  return problems;
}

}  // namespace qlx::gridkit
