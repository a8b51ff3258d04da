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

TEST(PlatformTimeTest, WallClockAgreesWithMonotonicCounter) {
  int64_t s0, us0, s1, us1;
  int64_t m0 = platformMicroseconds();
  platformWallClock(s0, us0);
  platformSleepMs(30);
  platformWallClock(s1, us1);
  int64_t m1 = platformMicroseconds();
  EXPECT_GE(us0, 0);
  EXPECT_LT(us0, 1000000);
  int64_t wall = (s1 - s0) * 1000000 + (us1 - us0);
  EXPECT_NEAR(static_cast<double>(wall), static_cast<double>(m1 - m0), 5000.0);
}

}  // namespace
