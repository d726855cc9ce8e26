// The snapshot layout, version 1, all single bytes: "QLXG", version, rows, columns, the shape
// (rows × columns of 0/1), the fill (a–z, or '-' on a block), the letter count n, then n letter
// indices (number → letter), n given flags, n entries (0 or A–Z), the selected number, and the
// 26 letter indices in frequency order.
#include "puzzle/snapshot.h"

#include <array>
#include <cstring>

namespace qlx {
namespace {

constexpr char kMagic[4] = {'Q', 'L', 'X', 'G'};
constexpr int kMaxCells =
    255;  // grid files hold fewer than 256 cells a grid, as the fill library allows
constexpr std::size_t kHeader = sizeof kMagic + 3;

class Reader {
 public:
  Reader(const uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  bool take(std::size_t n, const uint8_t** at) {
    if (size_ - pos_ < n) return false;
    *at = bytes_ + pos_;
    pos_ += n;
    return true;
  }
  bool atEnd() const { return pos_ == size_; }

 private:
  const uint8_t* bytes_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

Status damaged(const char* what) {
  return Status::Damaged(std::string("The stored game is damaged: ") + what + ".");
}

}  // namespace

std::vector<uint8_t> encodeSnapshot(const Puzzle& p) {
  std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
  out.push_back(kSnapshotVersion);
  out.push_back(p.gridRows);
  out.push_back(p.gridCols);
  const int cells = p.gridRows * p.gridCols;
  for (int i = 1; i <= cells; ++i) out.push_back(p.gridShape(i));
  for (int i = 1; i <= cells; ++i) out.push_back(p.gridLetters(i));
  out.push_back(p.letterCount);
  for (int n = 1; n <= p.letterCount; ++n) out.push_back(p.numToLetter(n));
  for (int n = 1; n <= p.letterCount; ++n) out.push_back(static_cast<uint8_t>(p.givenNums(n) == 1));
  for (int n = 1; n <= p.letterCount; ++n) out.push_back(p.entries(n));
  out.push_back(static_cast<uint8_t>(p.selectedNum));
  for (int i = 1; i <= 26; ++i) out.push_back(p.lettersByFreq(i));
  return out;
}

Status decodeSnapshot(const uint8_t* bytes, std::size_t size, Puzzle& out) {
  if (bytes == nullptr || size < kHeader || std::memcmp(bytes, kMagic, sizeof kMagic) != 0)
    return Status::Damaged("The stored game was not written by this version of the game.");
  if (bytes[4] != kSnapshotVersion)
    return Status::Damaged("The stored game was written by another version of the game.");
  Reader in(bytes + kHeader, size - kHeader);
  const int rows = bytes[5], cols = bytes[6];
  if (rows < 1 || cols < 1 || rows * cols > kMaxCells) return damaged("impossible grid size");
  const auto cells = static_cast<std::size_t>(rows * cols);

  Puzzle p;
  p.gridRows = static_cast<uint8_t>(rows);
  p.gridCols = static_cast<uint8_t>(cols);
  p.cellCount = static_cast<int16_t>(cells);
  const uint8_t *shape = nullptr, *fill = nullptr;
  if (!in.take(cells, &shape) || !in.take(cells, &fill)) return damaged("cut short in the grid");
  p.gridShape.redim(cells);
  p.gridLetters.redim(cells);
  std::array<bool, 27> inFill{};
  for (std::size_t i = 0; i < cells; ++i) {
    const bool white = shape[i] == 1;
    if (shape[i] > 1) return damaged("a cell that is neither white nor a block");
    if (white ? (fill[i] < 'a' || fill[i] > 'z') : fill[i] != '-')
      return damaged("a letter out of place in the grid");
    if (white) inFill[fill[i] - 'a' + 1] = true;
    p.gridShape(static_cast<long long>(i) + 1) = shape[i];
    p.gridLetters(static_cast<long long>(i) + 1) = fill[i];
  }

  const uint8_t* count = nullptr;
  if (!in.take(1, &count)) return damaged("cut short before the letter code");
  const int n = *count;
  if (n < kMinDistinctLetters || n > 26) return damaged("an impossible number of letters");
  p.letterCount = static_cast<uint8_t>(n);
  const uint8_t *code = nullptr, *given = nullptr, *entries = nullptr, *selected = nullptr,
                *freq = nullptr;
  if (!in.take(static_cast<std::size_t>(n), &code) ||
      !in.take(static_cast<std::size_t>(n), &given) ||
      !in.take(static_cast<std::size_t>(n), &entries) || !in.take(1, &selected) ||
      !in.take(26, &freq))
    return damaged("cut short in the letter code");
  if (!in.atEnd()) return damaged("bytes after the end");

  p.letterToNum.redim(26);
  p.numToLetter.redim(static_cast<std::size_t>(n));
  p.givenNums.redim(static_cast<std::size_t>(n));
  p.entries.redim(static_cast<std::size_t>(n));
  for (int num = 1; num <= n; ++num) {
    const int letter = code[num - 1];
    if (letter < 1 || letter > 26 || p.letterToNum(letter) != 0 || !inFill[letter])
      return damaged("a number standing for no letter of the grid");
    p.letterToNum(letter) = static_cast<uint8_t>(num);
    p.numToLetter(num) = static_cast<uint8_t>(letter);
    if (given[num - 1] > 1) return damaged("a given flag that is neither on nor off");
    p.givenNums(num) = given[num - 1];
    const uint8_t entry = entries[num - 1];
    if (entry != 0 && (entry < 'A' || entry > 'Z')) return damaged("an entry that is not a letter");
    // A given number's letter is on the board from the start: a game without it could never end.
    if (p.givenNums(num) == 1 && entry != letter + 'A' - 1)
      return damaged("a given letter missing from the board");
    p.entries(num) = entry;
  }
  for (int letter = 1; letter <= 26; ++letter)
    if (inFill[letter] && p.letterToNum(letter) == 0)
      return damaged("a letter of the grid without a number");
  if (*selected > n) return damaged("a selection outside the code");
  // A given number cannot be selected; such a selection is dropped, not the game.
  p.selectedNum = (*selected != 0 && p.givenNums(*selected) == 1) ? 0 : *selected;

  p.lettersByFreq.redim(26);
  std::array<bool, 27> seen{};
  for (int i = 1; i <= 26; ++i) {
    const int letter = freq[i - 1];
    if (letter < 1 || letter > 26 || seen[letter]) return damaged("a broken letter order");
    seen[letter] = true;
    p.lettersByFreq(i) = static_cast<uint8_t>(letter);
  }
  out = std::move(p);
  return Status::Ok();
}

}  // namespace qlx
