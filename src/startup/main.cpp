// The game executable: everything happens in Main.
#include "startup/program.h"

int main() { return qlx::Main(); }
