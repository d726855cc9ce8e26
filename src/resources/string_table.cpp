// The string table's entries. The texts are kept exactly as the game has always shown them,
// spelling included, because players and saved screenshots know them that way.
#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace qlx {
namespace {

struct Entry {
  int id;
  std::string_view text;
};

// Sorted by number.
constexpr std::array kEntries{
    Entry{17, "Game Paused - Clik here to resume"},
    Entry{31, "Quillorix"},
    Entry{32, "Quillorix"},
    Entry{63, "Best Time"},
    Entry{65, "Time"},
    Entry{67, "Hall of Fame"},
    Entry{68, "Pause"},
    Entry{69, "Instructions"},
    Entry{70, "Reveal Cell"},
    Entry{71, "Check Entries"},
    Entry{72, "Show Solution"},
    Entry{73, "Quit Game"},
    Entry{83, "New Game"},
    Entry{84, "High Scores"},
    Entry{85, "Help"},
    Entry{86, "Exit"},
    Entry{91, "OK"},
    Entry{92, "Clear Scores"},
    Entry{110, "Congrats ! You have Successfully solved the puzzle\n Time consumed |1"},
    Entry{115, "Please select a code first and then Click on Reveal cell"},
    Entry{230, "A game you had not finished is waiting.\nDo you want to carry on with it?"},
    Entry{231, "Resume"},
    Entry{232, "Discard"},
    Entry{234, "Our solution is diffrent from the entries.\n "},
    Entry{235, "Our solution perfectly matches with your entries so far"},
};

static_assert(std::is_sorted(kEntries.begin(), kEntries.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

}  // namespace

std::string loadString(int id) {
  const auto it = std::lower_bound(kEntries.begin(), kEntries.end(), id,
                                   [](const Entry& e, int wanted) { return e.id < wanted; });
  if (it == kEntries.end() || it->id != id) return {};
  return std::string(it->text);
}

}  // namespace qlx
