// The stored puzzle's bytes: a puzzle in play comes back exactly, and a snapshot cut short, of
// another version, or holding an impossible letter, number or size is refused untouched.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "puzzle/snapshot.h"
#include "puzzle_strings.h"

namespace qlx {
namespace {

// A 4 × 4 grid with one block and fourteen distinct letters, numbered in reverse, two given,
// some entries (one wrong) and a selection: every field carries something.
Puzzle puzzleInPlay() {
  Puzzle p = testing::puzzleFromRows({"abcd", "efg-", "hijk", "mnab"}, "nmkjihgfedcba", {2, 9});
  p.entries(4) = 'Q';
  p.selectedNum = 4;
  return p;
}

Status decode(const std::vector<uint8_t>& b, Puzzle& out) {
  return decodeSnapshot(b.data(), b.size(), out);
}

TEST(Snapshot, APuzzleInPlayComesBackExactly) {
  const Puzzle p = puzzleInPlay();
  Puzzle back;
  ASSERT_TRUE(decode(encodeSnapshot(p), back).ok());
  EXPECT_EQ(back, p);

  // Any shape the grid file can hold: one row of 80 cells, the fill five times over.
  Puzzle wide = puzzleInPlay();
  wide.gridRows = 1;
  wide.gridCols = 80;
  wide.cellCount = 80;
  wide.gridShape.redim(80);
  wide.gridLetters.redim(80);
  for (int i = 1; i <= 80; ++i) {
    wide.gridShape(i) = p.gridShape((i - 1) % 16 + 1);
    wide.gridLetters(i) = p.gridLetters((i - 1) % 16 + 1);
  }
  ASSERT_TRUE(decode(encodeSnapshot(wide), back).ok());
  EXPECT_EQ(back, wide);
}

TEST(Snapshot, DamagedSnapshotsAreRefusedAndChangeNothing) {
  const Puzzle p = puzzleInPlay();
  const std::vector<uint8_t> good = encodeSnapshot(p);
  const std::size_t cells = 16, shapeAt = 7, fillAt = shapeAt + cells, countAt = fillAt + cells;
  const std::size_t codeAt = countAt + 1, givenAt = codeAt + 13, entriesAt = givenAt + 13,
                    selectedAt = entriesAt + 13;
  struct Damage {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> apply;
  };
  const Damage damages[] = {
      {"empty", [](auto& b) { b.clear(); }},
      {"cut short by one", [](auto& b) { b.pop_back(); }},
      {"cut in the grid", [&](auto& b) { b.resize(fillAt + 3); }},
      {"a byte too many", [](auto& b) { b.push_back(0); }},
      {"another magic", [](auto& b) { b[0] = 'X'; }},
      {"another version", [](auto& b) { b[4] = 2; }},
      {"zero rows", [](auto& b) { b[5] = 0; }},
      {"rows beyond any grid", [](auto& b) { b[5] = 200; }},
      {"a shape byte of 2", [&](auto& b) { b[shapeAt] = 2; }},
      {"an upper-case fill letter", [&](auto& b) { b[fillAt] = 'A'; }},
      {"a letter on a block", [&](auto& b) { b[fillAt + 7] = 'a'; }},
      {"a letter count of 200", [&](auto& b) { b[countAt] = 200; }},
      {"a number for letter 27", [&](auto& b) { b[codeAt] = 27; }},
      {"a number for a letter not in the grid", [&](auto& b) { b[codeAt] = 'z' - 'a' + 1; }},
      {"two numbers for one letter", [&](auto& b) { b[codeAt] = b[codeAt + 1]; }},
      {"a given flag of 5", [&](auto& b) { b[givenAt] = 5; }},
      {"an entry of '['", [&](auto& b) { b[entriesAt] = '['; }},
      {"a lower-case entry", [&](auto& b) { b[entriesAt] = 'a'; }},
      {"a given number without its letter",
       [&](auto& b) {
         for (std::size_t n = 0; n < 13; ++n)
           if (b[givenAt + n] == 1) b[entriesAt + n] = 0;
       }},
      {"a selection past the code", [&](auto& b) { b[selectedAt] = 14; }},
      {"a repeated letter in the order", [&](auto& b) { b[selectedAt + 1] = b[selectedAt + 2]; }},
  };
  for (const Damage& d : damages) {
    std::vector<uint8_t> bad = good;
    d.apply(bad);
    Puzzle out = p;
    EXPECT_FALSE(decode(bad, out).ok()) << d.what;
    EXPECT_EQ(out, p) << d.what << ": the puzzle was touched";
  }
  EXPECT_FALSE(decodeSnapshot(nullptr, 0, *std::make_unique<Puzzle>()).ok());
}

TEST(Snapshot, ASelectedGivenNumberIsDroppedNotTheGame) {
  Puzzle p = puzzleInPlay();
  p.selectedNum = 2;  // given
  Puzzle back;
  ASSERT_TRUE(decode(encodeSnapshot(p), back).ok());
  EXPECT_EQ(back.selectedNum, 0);
}

}  // namespace
}  // namespace qlx
