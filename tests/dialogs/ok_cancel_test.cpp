// Tests of ok_cancel.
#include <gtest/gtest.h>
