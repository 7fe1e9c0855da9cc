// Compiled into every test program that links the test support library, so that the live-object
// check runs after each of its tests without a main of its own.
#include "tests/support/LiveObjectCheck.h"

namespace {
const bool liveObjectCheckRegistered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new CLiveObjectListener);
    return true;
}();
}
