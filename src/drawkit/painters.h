// The board painters: the grid, the code strip and the alphabet panel drawn from the puzzle in
// passes (modes), and two queries over the player's entries. The painters only read the puzzle
// and never refresh the window; a mode they do not know draws nothing.
#pragma once

#include "drawkit/draw_rect.h"
#include "drawkit/graphics.h"
#include "puzzle/model.h"

namespace qlx {

// Text colours of the board.
inline constexpr ColorRef kClrGridNumber = rgb(100, 100, 100);
inline constexpr ColorRef kClrGivenLetter = rgb(0, 0, 0);
inline constexpr ColorRef kClrEntry = rgb(40, 40, 255);
inline constexpr ColorRef kClrSolution = rgb(0, 0, 0);
inline constexpr ColorRef kClrStripNumber = rgb(255, 255, 255);
inline constexpr ColorRef kClrAlphabet = rgb(0, 0, 0);
// An entry whose letter another number has too, in cells, strip and alphabet.
inline constexpr ColorRef kClrClash = rgb(220, 20, 20);
// The keyboard cursor's outline inside its cell, in pixels.
inline constexpr int kCursorLine = 2;

// Grid passes: 0 blocks; 1 the numbers of cells not given (selected number highlighted);
// 2 given letters and entries (a cell without either keeps its number).
void paintGrid(const DrawRect& grid, const Puzzle& p, int mode, const Graphics& g);

// The whole solution: 1 blocks; 2 every letter cell with its solution letter.
void paintSolution(const DrawRect& grid, const Puzzle& p, int mode, const Graphics& g);

// The code strip, two column pairs of (letterCount + 1) / 2 rows: 0 number boxes; 1 letter boxes.
void paintCodeStrip(const DrawRect& strip, const Puzzle& p, int mode, const Graphics& g);

// The letters A to Z in two rows of 13, grey once entered for some number, red when entered for
// two or more numbers.
void paintAlphabet(const DrawRect& panel, const Puzzle& p, const Graphics& g);

// The keyboard cursor: an outline in the block colour inside cell (row, col); none at row -1.
void paintCursor(const DrawRect& grid, int row, int col, const Graphics& g);

// True when some number has letter (an upper-case code 'A'..'Z') as its entry.
bool isLetterUsed(const Puzzle& p, int letter);

// True when every number has an entry, right or wrong (and when there are no numbers).
bool allNumbersEntered(const Puzzle& p);

}  // namespace qlx
