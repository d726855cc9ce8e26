// The program's string table: every caption and message the windows show, looked up by number
// each time it is drawn or shown, and the application title used on windows and message boxes.
#pragma once

#include <string>

namespace qlx {

inline constexpr const char* kApplicationTitle = "Quillorix";

// Numbers of the entries the game uses.
enum StringId : int {
  IDS_PAUSED = 17,
  IDS_LEVEL1_NAME = 31,
  IDS_LEVEL2_NAME = 32,
  IDS_BEST_TIME = 63,
  IDS_TIME = 65,
  IDS_HALL_OF_FAME = 67,
  IDS_PAUSE = 68,
  IDS_INSTRUCTIONS = 69,
  IDS_REVEAL_CELL = 70,
  IDS_CHECK_ENTRIES = 71,
  IDS_SHOW_SOLUTION = 72,
  IDS_QUIT_GAME = 73,
  IDS_NEW_GAME = 83,
  IDS_HIGH_SCORES = 84,
  IDS_HELP = 85,
  IDS_EXIT = 86,
  IDS_OK = 91,
  IDS_CLEAR_SCORES = 92,
  IDS_SOLVED = 110,
  IDS_SELECT_CODE_FIRST = 115,
  IDS_RESUME_QUESTION = 230,
  IDS_RESUME_YES = 231,
  IDS_RESUME_NO = 232,
  IDS_ENTRIES_DIFFER = 234,
  IDS_ENTRIES_MATCH = 235,
};

// The text of entry id, exactly as stored ("\n" is a line feed); an unknown number gives "".
std::string loadString(int id);

}  // namespace qlx
