// The platform clocks move forward at the right rate and the sleep lasts.
#include "PlatformTime.h"

#include <gtest/gtest.h>

namespace {

TEST(PlatformTimeTest, SleepLastsAtLeastItsTime) {
  for (int ms : {1, 5, 20}) {
    int64_t before = platformMicroseconds();
    platformSleepMs(ms);
    int64_t elapsed = platformMicroseconds() - before;
    EXPECT_GE(elapsed, ms * 1000) << ms << " ms";
    EXPECT_LT(elapsed, ms * 1000 + 200000) << ms << " ms";
  }
  int64_t before = platformMicroseconds();
  platformSleepMs(0);
  platformSleepMs(-5);
  EXPECT_LT(platformMicroseconds() - before, 5000);
}

// Each wall-clock reading is bracketed by two counter readings, so a loaded
// machine pausing the test anywhere widens the bounds instead of failing it.
TEST(PlatformTimeTest, WallClockAgreesWithMonotonicCounter) {
  int64_t s0, us0, s1, us1;
  int64_t before0 = platformMicroseconds();
  platformWallClock(s0, us0);
  int64_t after0 = platformMicroseconds();
  platformSleepMs(30);
  int64_t before1 = platformMicroseconds();
  platformWallClock(s1, us1);
  int64_t after1 = platformMicroseconds();
  EXPECT_GE(us0, 0);
  EXPECT_LT(us0, 1000000);
  int64_t wall = (s1 - s0) * 1000000 + (us1 - us0);
  // The two clocks may drift apart by a little while time is adjusted.
  const int64_t slack = 2000;
  EXPECT_GE(wall, before1 - after0 - slack);
  EXPECT_LE(wall, after1 - before0 + slack);
  EXPECT_GE(wall, 30000 - slack);
}

}  // namespace
