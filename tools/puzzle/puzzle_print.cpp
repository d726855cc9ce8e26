// Puzzle printing for the command line. The JSON line carries the whole model so scripts and
// tests can check the coding rules from outside.
#include "tools/puzzle/puzzle_print.h"

#include <sstream>

namespace qlx {
namespace {

char upper(int letterIndex) { return static_cast<char>('A' + letterIndex - 1); }

template <typename T>
std::string jsonNumbers(const Array1<T>& a) {
  std::string out = "[";
  for (std::size_t i = 1; i <= a.size(); ++i) {
    if (i > 1) out += ',';
    out += std::to_string(static_cast<int>(a(static_cast<long long>(i))));
  }
  return out + "]";
}

}  // namespace

std::string puzzleAsText(const Puzzle& p, const MadePuzzle& made) {
  std::ostringstream out;
  if (made.group > 0)
    out << "Quillorix puzzle: grid " << made.number << " of group " << made.group;
  else
    out << "Quillorix puzzle: fill " << made.number << " of the given pattern";
  out << " (" << int(p.gridRows) << " x " << int(p.gridCols) << ", " << int(p.letterCount)
      << " letters, " << (made.solutions == 1 ? "one solution" : "not unique") << ")\n\n";

  for (int r = 0; r < p.gridRows; ++r) {
    std::string numbers, solution;
    for (int c = 0; c < p.gridCols; ++c) {
      const int cell = r * p.gridCols + c + 1;
      if (p.gridShape(cell) != 1) {
        numbers += " ##";
        solution += " #";
        continue;
      }
      const int num = p.letterToNum(p.gridLetters(cell) - 96);
      std::string label = p.givenNums(num) == 1 ? std::string(1, static_cast<char>(p.entries(num)))
                                                : std::to_string(num);
      numbers += std::string(3 - label.size(), ' ') + label;
      solution += ' ';
      solution += upper(p.gridLetters(cell) - 96);
    }
    out << numbers << "     " << solution << "\n";
  }

  out << "\nGiven:";
  for (int n = 1; n <= p.letterCount; ++n)
    if (p.givenNums(n) == 1) out << ' ' << n << '=' << upper(p.numToLetter(n));
  out << "\nCode: ";
  for (int n = 1; n <= p.letterCount; ++n) out << ' ' << n << '=' << upper(p.numToLetter(n));
  out << "\n";
  return out.str();
}

std::string puzzleAsJson(const Puzzle& p, const MadePuzzle& made) {
  std::string shape, letters;
  for (int i = 1; i <= p.cellCount; ++i) {
    const bool white = p.gridShape(i) == 1;
    shape += white ? '1' : '0';
    letters += white ? static_cast<char>(p.gridLetters(i)) : '-';
  }
  std::ostringstream out;
  out << "{\"rows\":" << int(p.gridRows) << ",\"cols\":" << int(p.gridCols)
      << ",\"group\":" << made.group << ",\"number\":" << made.number << ",\"shape\":\"" << shape
      << "\",\"letters\":\"" << letters << "\",\"letterCount\":" << int(p.letterCount)
      << ",\"letterToNum\":" << jsonNumbers(p.letterToNum)
      << ",\"numToLetter\":" << jsonNumbers(p.numToLetter)
      << ",\"lettersByFreq\":" << jsonNumbers(p.lettersByFreq)
      << ",\"givenNums\":" << jsonNumbers(p.givenNums) << ",\"entries\":" << jsonNumbers(p.entries)
      << ",\"unique\":" << (made.solutions == 1 ? "true" : "false")
      << ",\"solutions\":" << made.solutions << ",\"fills\":" << made.fills
      << ",\"pangram\":" << (p.letterCount == 26 ? "true" : "false")
      << ",\"fillMicros\":" << made.fillMicros << "}";
  return out.str();
}

}  // namespace qlx
