// clock_gettime and nanosleep behind the platform time interface.
#include "PlatformTime.h"

#include <cerrno>
#include <ctime>

int64_t platformMicroseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void platformWallClock(int64_t &seconds, int64_t &microseconds) {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  seconds = now.tv_sec;
  microseconds = now.tv_nsec / 1000;
}

void platformSleepMs(int milliseconds) {
  if (milliseconds <= 0)
    return;
  timespec wait;
  wait.tv_sec = milliseconds / 1000;
  wait.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  // Resume after signals until the whole time has passed.
  while (nanosleep(&wait, &wait) == -1 && errno == EINTR) {
  }
}
