// The ranking and insertion of best times.
#include "dialogs/best_times.h"

namespace qlx {

int rankOfTime(Array1<BestList>&, int, int32_t) { return kNoPlace; }

void insertBestTime(Array1<BestList>&, int, int32_t, const std::string&) {}

}  // namespace qlx
