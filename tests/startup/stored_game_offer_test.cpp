// Tests of the stored game offered at start-up.
#include <gtest/gtest.h>
