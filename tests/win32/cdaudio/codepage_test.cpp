// The system's code page 932, through which the disc's MS-JIS CD-Text is read.
#include <gtest/gtest.h>

#include "tests/support/shiftjiscases.h"

TEST(CodePage, ShiftJisConvertsAsTheNativeStandInDoes) { ExpectShiftJisConversions(); }
