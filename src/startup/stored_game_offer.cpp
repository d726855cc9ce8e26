// The end of start-up: a stored game offered, and resumed or discarded as the player answers.
#include "startup/program.h"

namespace qlx {

void offerStoredGame(Program&, PlayWindow&, Backend&) {}

void resumeStoredGame(Program&, PlayWindow&, Backend&) {}

}  // namespace qlx
