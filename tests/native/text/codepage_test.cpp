// The C library's iconv standing in for Windows' code page 932.
#include <gtest/gtest.h>

#include "tests/support/shiftjiscases.h"

TEST(CodePage, ShiftJisConvertsAsWindowsDoes) { ExpectShiftJisConversions(); }
