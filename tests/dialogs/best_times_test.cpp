// Tests of best_times.
#include <gtest/gtest.h>
