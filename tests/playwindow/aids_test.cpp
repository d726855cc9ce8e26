// Tests of the aids and the end of a game.
#include <gtest/gtest.h>
