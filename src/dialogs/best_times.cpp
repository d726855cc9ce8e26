// The ranking and insertion of best times. Both routines walk at most eight places and only the
// places the level's list really holds, so a short or missing list is never read past its end.
#include "dialogs/best_times.h"

#include <algorithm>

namespace qlx {
namespace {

// The level's list, or null when the table has no such level.
BestList* listOf(Array1<BestList>& bestScores, int level) {
  if (level < 1 || static_cast<std::size_t>(level) > bestScores.size()) return nullptr;
  return &bestScores(level);
}

// Places the list really holds, at most eight.
long long placesOf(const BestList& list) {
  return static_cast<long long>(
      std::min({list.times.size(), list.names.size(), std::size_t{kBestPlaces}}));
}

}  // namespace

int rankOfTime(Array1<BestList>& bestScores, int level, int32_t time) {
  BestList* list = listOf(bestScores, level);
  if (!list) return kNoPlace;
  const long long places = placesOf(*list);
  for (long long i = 1; i <= places; ++i) {
    int32_t& held = list->times(i);
    if (held == 0) held = kUnsetBestTime;
    // An equal time does not displace the one already there.
    if (held > time) return static_cast<int>(i);
  }
  return kNoPlace;
}

void insertBestTime(Array1<BestList>& bestScores, int level, int32_t time,
                    const std::string& name) {
  BestList* list = listOf(bestScores, level);
  if (!list) return;
  const long long places = placesOf(*list);
  if (places == 0) return;
  // The first place among all but the last whose time is greater; else the last place.
  long long p = places;
  for (long long i = 1; i < places; ++i)
    if (list->times(i) > time) {
      p = i;
      break;
    }
  for (long long j = places; j > p; --j) {
    list->times(j) = list->times(j - 1);
    list->names(j) = list->names(j - 1);
  }
  list->times(p) = time;
  list->names(p) = name;
}

BestListChange bestTimeEntry(int level, int32_t time, const std::string& name) {
  return [level, time, name](Array1<BestList>& bestScores) {
    if (rankOfTime(bestScores, level, time) <= kBestPlaces)
      insertBestTime(bestScores, level, time, name);
  };
}

}  // namespace qlx
