// Tests of name_dialog.
#include <gtest/gtest.h>
